// Units that only the package-choice dialog has: an option button whose
// caption runs over two lines, a plain system push button and a radio box.
// The dialog makes their child windows itself and hands them to its window
// with AddUnit, which routes their clicks back to them.
#pragma once

#include "launcher/ui/buttons.h"

// A flat button like SuperBtn whose caption may hold line breaks (CR LF);
// the lines are centred one below the other.
class OptionBtn : public ButtonUnit {
public:
    using ButtonUnit::ButtonUnit;

protected:
    void Draw(const DRAWITEMSTRUCT& item) override;
};

// A standard system push button.
class PushButton : public Unit {
public:
    using Unit::Unit;
    bool Create(HWND container, const UnitRow& row, int id);
    std::function<void()> Clicked;
    bool OnContainerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

// A radio box of one group; the system checks it and clears its siblings
// when it is clicked.
class RadioBox : public Unit {
public:
    using Unit::Unit;
    // firstOfGroup starts a new group of radio boxes.
    bool Create(HWND container, const UnitRow& row, int id, bool firstOfGroup);
    void SetChecked(bool checked);
    std::function<void()> Selected;
    bool OnContainerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
