// VtkFieldsOutput: the numbered field files of a run (fields_00000.vti ...)
// and the ParaView collection fields.pvd that lists them with the simulated
// time of each, rewritten after every frame so that it is valid whenever
// the run stops.
#pragma once

#include "core/grid.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What one write did: the file it was for, and whether it was written whole.
struct VtkWriteResult {
    bool ok = false;
    std::string path;
};

class VtkFieldsOutput {
public:
    // Files go to directory ("" is the working directory), numbered from 0.
    explicit VtkFieldsOutput(std::string directory = "vtk");

    // Writes state as directory/fields_%05d.vti with the next number, which
    // advances by one whatever happens, then rewrites directory/fields.pvd
    // with that file added at time. The directory is created when missing.
    // A failed collection fails the frame, naming fields.pvd.
    VtkWriteResult writeFrame(const Grid& state, double time);

    // The next file is number 0 again and the collection starts empty (a
    // new run).
    void restartNumbering();
    // A continued run whose files so far were numbered below first: the next
    // file is number first, and the collection keeps those earlier files it
    // finds in the directory's fields.pvd.
    void continueFrom(int32_t first);
    int32_t nextNumber() const { return next; }

    const std::string& directory() const { return fieldDirectory; }
    void setDirectory(const std::string& directory) { fieldDirectory = directory; }

private:
    // A path inside the directory.
    std::string pathOf(const std::string& name) const;
    bool writeCollection();

    std::string fieldDirectory;
    int32_t next = 0;
    std::vector<std::pair<double, std::string>> entries;  // time and file of this run's frames
    std::vector<char> bytes;      // the file being written, kept between frames
};
