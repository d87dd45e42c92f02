#pragma once

#include "content/ConfigToken.h"

namespace vlo {

// What the configuration reader meets, in file order, for a caller that
// wants more than the values: vellumo-pack check names the place of every
// surprise. The reader calls these while it reads; each does nothing here.
class ConfigListener {
public:
    virtual ~ConfigListener() = default;

    // A section header read where one is expected.
    virtual void sectionOpened(const ConfigToken& /*header*/) { }
    // The section that header opened ends: with its "[end]" when closed is
    // true, else with the end of the file.
    virtual void sectionClosed(const ConfigToken& /*header*/, bool /*closed*/) { }
    // A data section's key and the value token stored for it.
    virtual void valueRead(const ConfigToken& /*key*/, const ConfigToken& /*value*/) { }
    // A key after which the file ends: its field keeps what it held.
    virtual void valueMissing(const ConfigToken& /*key*/) { }
    // One track: music file, picture and caption.
    virtual void trackRead(const ConfigToken& /*file*/, const ConfigToken& /*picture*/, const ConfigToken& /*caption*/)
    {
    }
    // A last music line of one or two tokens that the end of the file cuts
    // short; it is dropped.
    virtual void trackCut(const ConfigToken& /*file*/, int /*tokens*/) { }
    // The token after a music section's "[end]", read and thrown away.
    virtual void tokenDiscarded(const ConfigToken& /*token*/) { }
};

} // namespace vlo
