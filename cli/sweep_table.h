// The table of a parameter sweep: a CSV file with a header line and one run
// per line.
#pragma once

#include <string>
#include <vector>

struct SweepRow {
    int line = 0;                     // where the row starts in the file, from 1
    std::vector<std::string> cells;   // one per column, unquoted
};

struct SweepTable {
    std::vector<std::string> columns;  // the header's names
    std::vector<SweepRow> rows;

    // The column's index, or -1 when the header does not name it.
    int column(const std::string& name) const;
};

// Comma-separated values as RFC 4180 writes them: a field in double quotes may
// hold commas and doubled quotes; lines end in LF or CR LF. Blank lines,
// lines starting with '#' and a UTF-8 byte order mark are skipped. Every row
// needs as many fields as the header, and a line break inside quotes is
// refused (one run is one command line). False with "line N: reason".
bool parseSweepTable(const std::string& text, SweepTable& table, std::string& error);

// Reads and parses a file; the reason names the file.
bool readSweepTable(const std::string& path, SweepTable& table, std::string& error);

// One CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& value);
