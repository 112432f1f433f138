// Text units: TransLabel shows its caption over whatever lies behind it (the
// window's background picture); Label also carries the feedback event through
// which a worker hands work to the UI thread.
#pragma once

#include <functional>

#include "launcher/ui/painted_unit.h"

class TransLabel : public PaintedUnit {
public:
    using PaintedUnit::PaintedUnit;

protected:
    void Paint(HDC dc, int width, int height) override;
    const char* ClassName() const override { return "Quillmere.TransLabel"; }
};

// The private message that carries a label's feedback event; wParam and
// lParam are the event's two numbers and the result is the handler's.
constexpr UINT kFeedbackMessage = 0x8075;

class Label : public PaintedUnit {
public:
    using PaintedUnit::PaintedUnit;

    // Runs on the UI thread; its result goes back to the raiser.
    std::function<int(int a, int b)> FeedbackEvent;

protected:
    void Paint(HDC dc, int width, int height) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    const char* ClassName() const override { return "Quillmere.Label"; }
};

// Raises label's FeedbackEvent on the thread that owns the label. With wait,
// blocks until the handler has run and returns its result; without, posts the
// event and returns 0. The one way a worker hands work to the UI thread.
int RaiseFeedbackEvent(Label* label, int a, int b, bool wait);
