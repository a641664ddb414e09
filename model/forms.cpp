#include "model/forms.h"

#include <algorithm>

namespace lumatone {

Form1::Form1() {
    controls_ = {&Frame2,        &Frame5,   &Frame1,   &Frame3,   &Frame4,   &Frame6,   &Line9,
                 &Line6,         &Line8,    &Line10,   &Line1,    &Line3,    &Line5,    &Line7,
                 &SettingsNote,  &Command2, &Command1, &Command6, &Command9, &Check1,   &Check2,
                 &Label27,       &Label30,  &HScroll1, &Label4_0, &Label3_0, &Label1,   &Command3,
                 &Command7,      &Label2_0, &Label5,   &Label6,   &Label33,  &Text1,    &Text2,
                 &Text3,         &Text4,    &Text11,   &Text23,   &Line2_0,  &Line2_1,  &GammaNote,
                 &HScroll2,      &Label4_1, &Label3_1, &Label11,  &Command4, &Command8, &Label2_1,
                 &Label12,       &Label13,  &Label31,  &Text5,    &Text6,    &Text7,    &Text8,
                 &Text10,        &Text22,   &Line4,    &Line2_2,  &Label19,  &Label23,  &Label20,
                 &Label24,       &Label21,  &Label25,  &Label22,  &Label26,  &Text9,    &Command5,
                 &FrequencyNote, &Label28,  &Label29,  &VScroll1, &Label8,   &Label9,   &Label7,
                 &Command10,     &Label10,  &Label14,  &Label15,  &Text26,   &Text27,   &Text28,
                 &Text29,        &Text30,   &Text31,   &Line11,   &Line12,   &Text12,   &Text13,
                 &Text14,        &Text15,   &Text16,   &Text17,   &Text18,   &Text19,   &Text20,
                 &Text21,        &Text24,   &Text25,   &Text32,   &Text33,   &Text34,   &Text35,
                 &Text36,        &Text37};
    for (Control* c : controls_)
        WithKind(*c, Overloaded{[this](Line& l) { lines_.push_back(&l); }, [](Control&) {}});

    for (Label* l : {&Label4_0, &Label4_1, &Label9})
        l->font.points = 13.5f;
    for (Label* l : {&Label3_0, &Label3_1})
        l->font.points = 12.0f;
    for (Label* l : {&Label2_0, &Label2_1})
        l->font.underline = true;
    for (Label* l : {&Label27, &Label30, &Label1, &Label6, &Label11, &Label12, &Label31, &Label19,
                     &Label23, &Label20, &Label24, &Label21, &Label25, &Label22, &Label26})
        l->autoSize = true;
    for (Label* l : {&Label28, &Label29, &FrequencyNote, &SettingsNote}) {
        l->foreColor = kRed;
        l->wordWrap = true;
    }
    // Hidden while it has nothing to say: it would cover Line1.
    SettingsNote.visible = false;
    // One line: a wrapped second line would be cut off, and with it the screen's name.
    GammaNote.foreColor = kRed;

    // Binding boxes show names and take no typing.
    for (TextBox* t :
         {&Text1, &Text2, &Text3, &Text4, &Text11, &Text23, &Text5, &Text6, &Text7, &Text8, &Text10,
          &Text22, &Text26, &Text27, &Text28, &Text29, &Text30, &Text31})
        t->locked = true;
    // Code boxes hold the bound key codes. The user can neither reach nor edit
    // them: a typed character would leave a code the poll cannot use.
    for (TextBox* t :
         {&Text12, &Text13, &Text14, &Text15, &Text16, &Text17, &Text18, &Text19, &Text20, &Text21,
          &Text24, &Text25, &Text32, &Text33, &Text34, &Text35, &Text36, &Text37}) {
        t->locked = true;
        t->tabStop = false;
    }
    // Command6 and Command9 are only clicked by code; off-window, they stay out of reach.
    Command6.tabStop = false;
    Command9.tabStop = false;

    mnuForm.visible = false;

    tabOrder_ = {&Check1,   &Check2,   &HScroll1, &Text1,     &Text2,  &Text3,    &Text4,
                 &Command3, &HScroll2, &Command4, &Text5,     &Text6,  &Text7,    &Text8,
                 &Text9,    &Command5, &Command1, &Command2,  &Text10, &Text11,   &Command6,
                 &Command7, &Command8, &Text12,   &Text13,    &Text14, &Text15,   &Text16,
                 &Text17,   &Text18,   &Text19,   &Text20,    &Text21, &Command9, &Text22,
                 &Text23,   &Text24,   &Text25,   &VScroll1,  &Text26, &Text27,   &Text28,
                 &Text29,   &Text30,   &Text31,   &Command10, &Text32, &Text33,   &Text34,
                 &Text35,   &Text36,   &Text37};
}

std::array<BindingGroup, 3> Form1::BindingGroups() {
    return {{{&Command7,
              {{{&Text1, &Text12},
                {&Text2, &Text13},
                {&Text3, &Text14},
                {&Text4, &Text15},
                {&Text11, &Text16},
                {&Text23, &Text24}}}},
             {&Command8,
              {{{&Text5, &Text17},
                {&Text6, &Text18},
                {&Text7, &Text19},
                {&Text8, &Text20},
                {&Text10, &Text21},
                {&Text22, &Text25}}}},
             {&Command10,
              {{{&Text26, &Text32},
                {&Text27, &Text33},
                {&Text28, &Text34},
                {&Text29, &Text35},
                {&Text30, &Text36},
                {&Text31, &Text37}}}}}};
}

Control* Form1::Find(const std::string& name) const {
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [&](const Control* c) { return c->name == name; });
    return it == controls_.end() ? nullptr : *it;
}

bool Form1::CanFocus(const Control& c) const {
    return c.CanTakeFocus() && c.WindowLeft() < width && c.WindowTop() < height &&
           c.WindowLeft() + c.width > 0 && c.WindowTop() + c.height > 0;
}

Control* Form1::Focused() const {
    return focused_ != nullptr && CanFocus(*focused_) ? focused_ : nullptr;
}

bool Form1::SetFocus(Control* control) {
    if (control == nullptr || !CanFocus(*control))
        return false;
    focused_ = control;
    return true;
}

void Form1::FocusNext(bool backwards) {
    const auto n = static_cast<std::ptrdiff_t>(tabOrder_.size());
    auto it = std::find(tabOrder_.begin(), tabOrder_.end(), focused_);
    std::ptrdiff_t start = it == tabOrder_.end() ? (backwards ? 0 : -1) : it - tabOrder_.begin();
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        std::ptrdiff_t i = ((start + (backwards ? -step : step)) % n + n) % n;
        if (CanFocus(*tabOrder_[static_cast<std::size_t>(i)])) {
            focused_ = tabOrder_[static_cast<std::size_t>(i)];
            return;
        }
    }
}

Form2::Form2() {
    Label1.font.points = 9.75f;
    for (Control* c : std::initializer_list<Control*>{&Label1, &Command1, &Command2, &Check1}) {
        // Default system colours on the dialog.
        c->backColor = Rgb{240, 240, 240};
        controls_.push_back(c);
    }
    tabOrder_ = {&Check1, &Command1, &Command2};
}

} // namespace lumatone
