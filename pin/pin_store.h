// The pins kept across starts: each one's picture as a PNG file and its
// place, zoom and opacity as a small text file beside it, named alike.
#pragma once

#include <string>
#include <vector>

#include "pin/pin_record.h"
#include "toolkit/picture.h"

namespace pin {

// %LOCALAPPDATA%\Fotolark\Pins, made when missing; empty when it cannot be.
std::wstring DefaultFolder();

struct Stored {
    std::wstring name;  // the files' common name
    toolkit::Picture picture;
    Record record;
};

class Store {
public:
    explicit Store(std::wstring folder) : folder_(std::move(folder)) {}
    // A new name for a pin's files; empty when nothing can be kept.
    std::wstring Keep(const toolkit::Picture& picture, const Record& record);
    bool Update(const std::wstring& name, const Record& record);
    void Forget(const std::wstring& name);
    struct Loaded {
        Stored stored;
        bool placed = false;  // its record was sound
    };
    // Every pin whose picture reads back, oldest first. A picture that does
    // not read back is left on disk as it is.
    std::vector<Loaded> LoadAll() const;

private:
    std::wstring Path(const std::wstring& name, const wchar_t* extension) const;
    std::wstring folder_;
};

}  // namespace pin
