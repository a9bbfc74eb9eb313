// Every pin of the program: made, closed, hidden and shown together, kept
// across starts in a store when one is given.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pin/pin_store.h"
#include "pin/pin_window.h"

namespace pin {

// What the pins hand to the rest of the program.
class Owner {
public:
    virtual ~Owner() = default;
    virtual void PinCopy(const toolkit::Picture& picture) = 0;
    virtual void PinSaveAs(const toolkit::Picture& picture) = 0;
    virtual void PinToViewer(const toolkit::Picture& picture) = 0;
    virtual MenuTexts PinMenuTexts() = 0;
};

class Board : private Host {
public:
    Board() = default;
    // Closes the windows; the stored pins stay for the next start.
    ~Board() override;
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // Where pins are kept (empty: nowhere), and who takes what leaves them.
    void Attach(Owner* owner, const std::wstring& folder);

    // Pins the picture where it was taken on the screen, or near the pointer
    // inside the display's work area. Null when no window could be made.
    Window* Pin(const toolkit::Picture& picture);
    // The stored pins, at their places (or near the pointer), on a display;
    // only the first time.
    void Restore();

    void CloseAll();  // and forgets them
    Store& Kept() { return *store_; }
    void HideAll();
    void ShowAll();

    size_t Count() const { return pins_.size(); }
    Window& At(size_t index) const { return *pins_[index].window; }

private:
    struct Entry {
        std::unique_ptr<Window> window;
        std::wstring name;  // of its files in the store; empty until kept
    };
    Window* Add(const toolkit::Picture& picture, const Record& place, std::wstring name);
    Entry* Find(const Window& pin);
    void Close(const Window& pin);

    void PinAction(Window& pin, Action action) override;
    void PinShown(Window& pin) override;
    void PinChanged(Window& pin) override;
    MenuTexts PinMenuTexts() override;

    Owner* owner_ = nullptr;
    std::unique_ptr<Store> store_ = std::make_unique<Store>(std::wstring());
    std::vector<Entry> pins_;
    bool restored_ = false;
};

}  // namespace pin
