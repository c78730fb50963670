#include "cli/sweep_table.h"

#include <fstream>
#include <sstream>

namespace {

// The fields of one line (without its line end); false with a reason.
bool splitFields(const std::string& line, std::vector<std::string>& fields, std::string& error)
{
    fields.assign(1, std::string());
    bool quoted = false;
    bool afterQuote = false;  // a quoted field ended: only a comma may follow
    for (size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (quoted) {
            if (c != '"')
                fields.back() += c;
            else if (k + 1 < line.size() && line[k + 1] == '"')
                fields.back() += line[++k];
            else
                quoted = false, afterQuote = true;
        } else if (c == ',') {
            fields.emplace_back();
            afterQuote = false;
        } else if (afterQuote) {
            error = "text after a closing quote";
            return false;
        } else if (c == '"' && fields.back().empty()) {
            quoted = true;
        } else if (c == '"') {
            error = "a quote inside an unquoted value";
            return false;
        } else {
            fields.back() += c;
        }
    }
    if (quoted)
        error = "a quoted value runs past the end of the line";
    return !quoted;
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool checkHeader(const std::vector<std::string>& columns, std::string& error)
{
    for (size_t k = 0; k < columns.size(); ++k) {
        if (columns[k].empty())
            error = "column " + std::to_string(k + 1) + " has no name";
        for (size_t j = 0; j < k && error.empty(); ++j)
            if (columns[j] == columns[k])
                error = "column '" + columns[k] + "' appears twice";
        if (!error.empty())
            return false;
    }
    for (const std::string& name : columns)
        if (name == "name")
            return true;
    error = "the header has no 'name' column";
    return false;
}

}  // namespace

int SweepTable::column(const std::string& name) const
{
    for (size_t k = 0; k < columns.size(); ++k)
        if (columns[k] == name)
            return static_cast<int>(k);
    return -1;
}

bool parseSweepTable(const std::string& text, SweepTable& table, std::string& error)
{
    SweepTable parsed;
    // Spreadsheets often save CSV with a UTF-8 byte order mark in front.
    const std::string byteOrderMark = "\xEF\xBB\xBF";
    std::istringstream lines(text.compare(0, 3, byteOrderMark) == 0 ? text.substr(3) : text);
    std::string line;
    bool haveHeader = false;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (trimmed(line).empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::string reason;
        if (!splitFields(line, fields, reason)) {
            error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
        if (!haveHeader) {
            for (std::string& field : fields)
                parsed.columns.push_back(trimmed(field));
            if (!checkHeader(parsed.columns, reason)) {
                error = "line " + std::to_string(number) + ": " + reason;
                return false;
            }
            haveHeader = true;
        } else if (fields.size() != parsed.columns.size()) {
            error = "line " + std::to_string(number) + ": " + std::to_string(fields.size()) + " values for " +
                    std::to_string(parsed.columns.size()) + " columns";
            return false;
        } else {
            parsed.rows.push_back(SweepRow{number, fields});
        }
    }
    if (!haveHeader) {
        error = "no header line";
        return false;
    }
    table = parsed;
    return true;
}

bool readSweepTable(const std::string& path, SweepTable& table, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read '" + path + "'";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (parseSweepTable(text.str(), table, error))
        return true;
    error = path + ": " + error;
    return false;
}

std::string csvField(const std::string& value)
{
    if (value.find_first_of(",\"\r\n") == std::string::npos)
        return value;
    std::string quoted = "\"";
    for (char c : value)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}
