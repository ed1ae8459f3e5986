#include "main/FormLayout.h"

#include <algorithm>
#include <string>

#include "display/win32/OwnedHandle.h"
#include "main/Forms.h"

namespace {

// In the design, neighbouring frames may touch or overlap by a unit or two and still stand side
// by side.
constexpr int kTouching = 3;

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool Overlap(LONG a0, LONG a1, LONG b0, LONG b1) {
    return a0 < b1 && b0 < a1;
}

} // namespace

TFontUnits MeasureFontUnits(HFONT font) {
    const TOwnedWindowDC dc = GetOwnedWindowDC(nullptr);
    TSelectObject select(dc.Get(), font);
    TEXTMETRICW metrics = {};
    SIZE size = {};
    if (!GetTextMetricsW(dc.Get(), &metrics) ||
        !GetTextExtentPoint32W(dc.Get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size)) {
        return kDesignUnits;
    }
    return {std::max<int>((size.cx / 26 + 1) / 2, 1), std::max<int>(metrics.tmHeight, 1)};
}

SIZE TextNeed(HWND control, TLayoutKind kind) {
    if (kind == TLayoutKind::Frame || kind == TLayoutKind::Plain) {
        return {0, 0};
    }
    const std::wstring text = WindowText(control);
    const TOwnedWindowDC dc = GetOwnedWindowDC(control);
    TSelectObject select(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.Get(), &metrics);
    if (kind == TLayoutKind::Row) {
        return {0, metrics.tmHeight};
    }
    LONG width = 0;
    int lines = 0;
    for (size_t start = 0; start <= text.size() && !text.empty(); ++lines) {
        size_t end = text.find(L'\n', start);
        end = end == std::wstring::npos ? text.size() : end;
        const size_t stop = end > start && text[end - 1] == L'\r' ? end - 1 : end;
        SIZE size = {};
        GetTextExtentPoint32W(dc.Get(), text.c_str() + start, static_cast<int>(stop - start), &size);
        width = std::max(width, size.cx);
        start = end + 1;
    }
    if (lines == 0) {
        return {0, 0};
    }
    const LONG height = metrics.tmHeight * lines;
    const LONG average = metrics.tmAveCharWidth;
    switch (kind) {
    case TLayoutKind::Button:
        return {width + 2 * average + 6, height + 6};
    case TLayoutKind::CheckBox:
        // The mark is about as high as the text, with a gap after it.
        return {width + metrics.tmHeight + average + 2, height};
    case TLayoutKind::GroupBox:
        return {width + 2 * average + 10, height};
    default:
        return {width, height};
    }
}

int TFormLayout::Add(HWND window, TDesignRect rect, TLayoutKind kind, int container, TFontFor font) {
    int parent = -1;
    const HWND parentWindow = GetParent(window);
    for (int i = 0; i < Count(); ++i) {
        if (items_[i].Window == parentWindow) {
            parent = i;
        }
    }
    if (container < 0) {
        container = parent;
    }
    items_.push_back({window, rect, kind, container, parent, font, nullptr, nullptr, {}, {}, {}});
    return Count() - 1;
}

void TFormLayout::SetFontSetter(int item, std::function<void(HFONT)> setFont) {
    items_[item].SetFont = std::move(setFont);
}

void TFormLayout::SetBoundsSetter(int item, std::function<void(const RECT&)> setBounds) {
    items_[item].SetBounds = std::move(setBounds);
}

void TFormLayout::SetWidget(int item, TWidgetControl& control) {
    SetFontSetter(item, [&control](HFONT font) { control.SetFont(font); });
    SetBoundsSetter(item, [&control](const RECT& r) {
        control.SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    });
}

RECT TFormLayout::Placed(int item) const {
    RECT rect = items_[item].Now;
    if (const int parent = items_[item].Parent; parent >= 0) {
        OffsetRect(&rect, -items_[parent].Now.left, -items_[parent].Now.top);
    }
    return rect;
}

bool TFormLayout::Within(int item, int container) const {
    for (int k = item; k >= 0;) {
        const TItem& it = items_[k];
        if (it.Container == container || it.Parent == container) {
            return true;
        }
        k = it.Container >= 0 ? it.Container : it.Parent;
    }
    return false;
}

void TFormLayout::Shift(int item, int dx, int dy) {
    for (int k = 0; k < Count(); ++k) {
        if (k == item || Within(k, item)) {
            OffsetRect(&items_[k].Now, dx, dy);
        }
    }
}

void TFormLayout::Spread(int container, bool across) {
    std::vector<int> members;
    for (int k = 0; k < Count(); ++k) {
        if (items_[k].Container == container) {
            members.push_back(k);
        }
    }
    // Nearer to the start first: a control moves only after all before it have their place.
    // Which control stands beside which is read from the design, where it does not depend on
    // rounding.
    std::stable_sort(members.begin(), members.end(), [&](int a, int b) {
        return across ? items_[a].Plan.left < items_[b].Plan.left : items_[a].Plan.top < items_[b].Plan.top;
    });
    for (size_t jj = 0; jj < members.size(); ++jj) {
        const TItem& j = items_[members[jj]];
        int needed = 0;
        for (size_t ii = 0; ii < jj; ++ii) {
            const TItem& i = items_[members[ii]];
            const LONG iStart = across ? i.Plan.left : i.Plan.top, iEnd = across ? i.Plan.right : i.Plan.bottom;
            const LONG jStart = across ? j.Plan.left : j.Plan.top;
            const bool beside = across ? Overlap(i.Plan.top, i.Plan.bottom, j.Plan.top, j.Plan.bottom)
                                       : Overlap(i.Plan.left, i.Plan.right, j.Plan.left, j.Plan.right);
            if (!beside || jStart <= iStart || jStart < iEnd - kTouching) {
                continue;
            }
            const LONG scaledEnd = across ? i.Scaled.right : i.Scaled.bottom;
            const LONG scaledStart = across ? j.Scaled.left : j.Scaled.top;
            const LONG gap = std::max<LONG>(scaledStart - scaledEnd, 0);
            const LONG now = across ? i.Now.right : i.Now.bottom;
            const LONG at = across ? j.Now.left : j.Now.top;
            needed = std::max<int>(needed, now + gap - at);
        }
        if (needed > 0) {
            Shift(members[jj], across ? needed : 0, across ? 0 : needed);
        }
    }
}

void TFormLayout::Fit(int container, SIZE& client) {
    LONG firstLeft = LONG_MAX, firstTop = LONG_MAX, lastRight = 0, lastBottom = 0;
    for (int k = 0; k < Count(); ++k) {
        TItem& item = items_[k];
        if (item.Container != container) {
            continue;
        }
        Fit(k, client);
        const SIZE need = TextNeed(item.Window, item.Kind);
        item.Now.right = std::max(item.Now.right, item.Now.left + need.cx);
        item.Now.bottom = std::max(item.Now.bottom, item.Now.top + need.cy);
        firstLeft = std::min(firstLeft, item.Scaled.left);
        firstTop = std::min(firstTop, item.Scaled.top);
        lastRight = std::max(lastRight, item.Scaled.right);
        lastBottom = std::max(lastBottom, item.Scaled.bottom);
    }
    if (firstLeft == LONG_MAX) {
        if (container < 0) {
            client = {scale_.X(client.cx), scale_.Y(client.cy)};
        }
        return;
    }
    Spread(container, true);
    Spread(container, false);
    LONG right = 0, bottom = 0;
    for (const TItem& item : items_) {
        if (item.Container == container) {
            right = std::max(right, item.Now.right);
            bottom = std::max(bottom, item.Now.bottom);
        }
    }
    // The frame keeps the margin its contents had, no more than the one before them.
    const RECT frame = container >= 0 ? items_[container].Scaled : RECT{0, 0, scale_.X(client.cx), scale_.Y(client.cy)};
    const LONG marginX = std::max<LONG>(std::min(frame.right - lastRight, firstLeft - frame.left), 0);
    const LONG marginY = std::max<LONG>(std::min(frame.bottom - lastBottom, firstTop - frame.top), 0);
    if (container >= 0) {
        RECT& now = items_[container].Now;
        now.right = std::max(now.right, right + marginX);
        now.bottom = std::max(now.bottom, bottom + marginY);
    } else {
        client = {std::max<LONG>(frame.right, right + marginX), std::max<LONG>(frame.bottom, bottom + marginY)};
    }
}

SIZE TFormLayout::Apply(int dpi, SIZE designClient) {
    scale_.Units = MeasureFontUnits(FormFont(dpi));
    for (TItem& item : items_) {
        const HFONT font = item.Font != nullptr ? item.Font(dpi) : FormFont(dpi);
        if (item.SetFont) {
            item.SetFont(font);
        } else {
            SendMessageW(item.Window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }
    for (TItem& item : items_) {
        const TDesignRect& d = item.Design;
        item.Scaled = {scale_.X(d.Left), scale_.Y(d.Top), scale_.X(d.Left + d.Width), scale_.Y(d.Top + d.Height)};
        if (item.Parent >= 0) {
            OffsetRect(&item.Scaled, items_[item.Parent].Scaled.left, items_[item.Parent].Scaled.top);
        }
        item.Plan = {d.Left, d.Top, d.Left + d.Width, d.Top + d.Height};
        if (item.Parent >= 0) {
            OffsetRect(&item.Plan, items_[item.Parent].Plan.left, items_[item.Parent].Plan.top);
        }
        item.Now = item.Scaled;
    }
    SIZE client = designClient;
    Fit(-1, client);
    for (int k = 0; k < Count(); ++k) {
        const RECT rect = Placed(k);
        if (items_[k].SetBounds) {
            items_[k].SetBounds(rect);
        } else {
            MoveWindow(items_[k].Window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
        }
    }
    return client;
}
