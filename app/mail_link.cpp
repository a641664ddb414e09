#include "app/mail_link.h"

#include "model/forms.h"

#include <string>

namespace lumatone {

MailLink::MailLink(Form1& form, LinkOpener& links) : links_(links) {
    form.Label30.onClick = [this] { OnClick(); };
}

void MailLink::OnClick() {
    links_.Open(std::string("mailto:") + kContactAddress);
}

} // namespace lumatone
