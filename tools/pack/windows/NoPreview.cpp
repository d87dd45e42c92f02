// `preview` needs the viewer's screen and GL renderer, which this Windows
// build does not have yet.
#include "Commands.h"
#include "Diagnostics.h"

namespace vlo::pack {

int runPreview(const Arguments&)
{
    return reportError("preview is not available on Windows yet");
}

} // namespace vlo::pack
