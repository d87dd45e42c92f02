// vellumo-demo-gen: writes the built-in demo show "Emberfall II".
//
//   vellumo-demo-gen STAGING_DIR SHOW_DIR
//
// STAGING_DIR receives Vellumo.ini and every picture, ready for
// `vellumo-pack create SHOW_DIR/data.zuo STAGING_DIR`; SHOW_DIR receives the
// music files at the paths Vellumo.ini names. Everything is drawn and
// composed here, the same bytes on every run.

#include <cstdio>
#include <string>

#include "ShowPlan.h"
#include "ShowWriter.h"

namespace {

void printProgress(const std::string& line)
{
    std::printf("  %s\n", line.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vellumo-demo-gen STAGING_DIR SHOW_DIR\n");
        return 2;
    }
    std::string error;
    std::printf("vellumo-demo-gen: writing the demo show\n");
    if (!vlo::demo::writeDemoShow(vlo::demo::demoShowPlan(), argv[1], argv[2], printProgress, error)) {
        std::fprintf(stderr, "vellumo-demo-gen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
