// Opening a link (a mail address) in the user's own program for it.
#pragma once

#include <string>

namespace lumatone {

class LinkOpener {
  public:
    virtual ~LinkOpener() = default;
    virtual bool Open(const std::string& link) = 0;
};

} // namespace lumatone
