// The contact address (Label30): a click opens a new mail message to it.
#pragma once

#include "platform/link_opener.h"

namespace lumatone {

class Form1;

class MailLink {
  public:
    MailLink(Form1& form, LinkOpener& links);
    void OnClick();

  private:
    LinkOpener& links_;
};

} // namespace lumatone
