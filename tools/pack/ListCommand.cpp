// vellumo-pack list ARCHIVE: one line per directory record, in directory
// order: "name<TAB>size<TAB>offset", control characters in names shown as
// \xNN. Damage is reported after the listing of what could be read.
#include <cstdio>

#include "ArchiveReader.h"
#include "Commands.h"
#include "Diagnostics.h"

namespace vlo::pack {

int runList(const Arguments& arguments)
{
    if (arguments.size() != 1)
        return reportUsage("list: expected ARCHIVE, got " + std::to_string(arguments.size()) + " arguments");
    const std::string& path = arguments[0];

    ArchiveReader archive;
    std::string error;
    if (!archive.open(path, error))
        return reportError("list: " + error);

    const ArchiveDirectory& directory = archive.directory();
    for (const ArchiveRecord& record : directory.records)
        std::printf("%s\t%d\t%d\n", escaped(record.name).c_str(), int(record.size), int(record.offset));
    std::fflush(stdout);

    int status = kExitSuccess;
    if (!directory.complete())
        status = reportError("list: " + inQuotes(path) + ": " + directory.describe() + "; "
            + std::to_string(directory.records.size()) + (directory.records.size() == 1 ? " record" : " records")
            + " listed before it");
    for (const ArchiveRecord& record : directory.records) {
        const std::string problem = archive.dataProblem(record);
        if (!problem.empty())
            status = reportError("list: " + inQuotes(path) + ": " + problem);
    }
    return status;
}

} // namespace vlo::pack
