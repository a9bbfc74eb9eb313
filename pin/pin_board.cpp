#include "pin/pin_board.h"

#include <algorithm>
#include <utility>

#include "capture/screen_grab.h"
#include "pin/pin_geometry.h"
#include "toolkit/physical_pixels.h"

namespace pin {

namespace {

// Near the pointer, inside the work area of the display under it.
Record NearPointer(SIZE size) {
    toolkit::PhysicalPixels physical;
    POINT pointer{};
    GetCursorPos(&pointer);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& w = info.rcWork;
    const Point32 at = PlaceNear(Point32{pointer.x, pointer.y}, size.cx, size.cy,
                                 Rect32{w.left, w.top, w.right, w.bottom});
    Record record;
    record.left = at.x;
    record.top = at.y;
    return record;
}

}  // namespace

Board::~Board() { pins_.clear(); }

void Board::Attach(Owner* owner, const std::wstring& folder) {
    owner_ = owner;
    store_ = std::make_unique<Store>(folder);
}

Window* Board::Add(const toolkit::Picture& picture, const Record& place, std::wstring name) {
    Host& host = *this;
    auto window = std::make_unique<Window>(picture, place, host);
    if (!window->hwnd()) return nullptr;
    pins_.push_back(Entry{std::move(window), std::move(name)});
    return pins_.back().window.get();
}

Window* Board::Pin(const toolkit::Picture& picture) {
    if (picture.Empty()) return nullptr;
    Record place = NearPointer(picture.PixelSize());
    if (const auto origin = picture.ScreenOrigin()) {
        place.left = origin->x;
        place.top = origin->y;
    }
    return Add(picture, place, std::wstring());
}

void Board::Restore() {
    if (std::exchange(restored_, true)) return;
    for (Store::Loaded& loaded : store_->LoadAll()) {
        Record place =
            loaded.placed ? loaded.stored.record : NearPointer(loaded.stored.picture.PixelSize());
        Window* pin = Add(loaded.stored.picture, place, loaded.stored.name);
        if (!pin) continue;
        // The displays may have changed since.
        pin->KeepOnDisplays();
        if (!loaded.placed || pin->Place().left != place.left || pin->Place().top != place.top)
            store_->Update(loaded.stored.name, pin->Place());
    }
}

Board::Entry* Board::Find(const Window& pin) {
    const auto at = std::find_if(pins_.begin(), pins_.end(),
                                 [&](const Entry& e) { return e.window.get() == &pin; });
    return at == pins_.end() ? nullptr : &*at;
}

void Board::Close(const Window& pin) {
    const auto at = std::find_if(pins_.begin(), pins_.end(),
                                 [&](const Entry& e) { return e.window.get() == &pin; });
    if (at == pins_.end()) return;
    store_->Forget(at->name);
    // Out of the list before the window goes, which may send messages back here.
    Entry gone = std::move(*at);
    pins_.erase(at);
}

void Board::CloseAll() {
    std::vector<Entry> gone = std::move(pins_);
    pins_.clear();
    for (const Entry& e : gone) store_->Forget(e.name);
}

void Board::HideAll() {
    for (const Entry& e : pins_) ShowWindow(e.window->hwnd(), SW_HIDE);
}

void Board::ShowAll() {
    for (const Entry& e : pins_) ShowWindow(e.window->hwnd(), SW_SHOWNA);
}

void Board::PinAction(Window& pin, Action action) {
    const toolkit::Picture picture = pin.Picture();
    switch (action) {
        case Action::Close:
            Close(pin);
            break;
        case Action::CloseAll:
            CloseAll();
            break;
        case Action::HideAll:
            HideAll();
            break;
        case Action::Copy:
            if (owner_) owner_->PinCopy(picture);
            break;
        case Action::SaveAs:
            if (owner_) owner_->PinSaveAs(picture);
            break;
        case Action::ToViewer:
            if (owner_) owner_->PinToViewer(picture);
            break;
    }
}

void Board::PinShown(Window& pin) {
    Entry* entry = Find(pin);
    if (entry && entry->name.empty()) entry->name = store_->Keep(pin.Picture(), pin.Place());
}

void Board::PinChanged(Window& pin) {
    if (Entry* entry = Find(pin)) store_->Update(entry->name, pin.Place());
}

MenuTexts Board::PinMenuTexts() { return owner_ ? owner_->PinMenuTexts() : MenuTexts{}; }

}  // namespace pin
