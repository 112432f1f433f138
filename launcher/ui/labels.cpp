#include "launcher/ui/labels.h"

void TransLabel::Paint(HDC dc, int width, int height) {
    PaintContainerBackground(Handle(), dc);
    DrawCaption(dc, width, height, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void Label::Paint(HDC dc, int width, int height) {
    PaintContainerBackground(Handle(), dc);
    DrawCaption(dc, width, height, DT_LEFT | DT_TOP | DT_WORDBREAK);
}

bool Label::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg != kFeedbackMessage) return false;
    *result = FeedbackEvent ? FeedbackEvent((int)wParam, (int)lParam) : 0;
    return true;
}

int RaiseFeedbackEvent(Label* label, int a, int b, bool wait) {
    if (!label || !label->Handle()) return 0;
    if (!wait) {
        PostMessageA(label->Handle(), kFeedbackMessage, (WPARAM)a, (LPARAM)b);
        return 0;
    }
    return (int)SendMessageA(label->Handle(), kFeedbackMessage, (WPARAM)a, (LPARAM)b);
}
