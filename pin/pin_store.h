// The pins kept across starts: each one's picture as a PNG file and its
// place, zoom and opacity as a small text file beside it, named alike. The
// files are written by a thread of their own, in the order asked for.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "output/pixel_rows.h"
#include "pin/pin_record.h"
#include "toolkit/picture.h"
#include "toolkit/worker.h"

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
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;
    // Writes what is still waiting.
    ~Store() = default;

    // A new name for a pin's files, which are written later; empty when
    // nothing can be kept. The picture must not change afterwards.
    std::wstring Keep(const toolkit::Picture& picture, const Record& record);
    void Update(const std::wstring& name, const Record& record);
    // Its files go, and any write of them still waiting with them.
    void Forget(const std::wstring& name);
    // Blocks until everything asked so far is on disk.
    void Drain() { writer_.Drain(); }
    struct Loaded {
        Stored stored;
        bool placed = false;  // its record was sound
    };
    // Every pin whose picture reads back, oldest first. A picture that does
    // not read back is left on disk as it is.
    std::vector<Loaded> LoadAll() const;

private:
    // What is still to be done to a pin's files: the newest state only.
    struct Waiting {
        output::ReadablePixels picture;  // not yet written, or empty
        bool record = false;
        Record place;
        bool forget = false;
    };
    template <typename Change>
    void Queue(const std::wstring& name, Change&& change);
    void Write(const std::wstring& name);  // on the writer's thread
    std::wstring Path(const std::wstring& name, const wchar_t* extension) const;

    std::wstring folder_;
    std::mutex mutex_;
    std::map<std::wstring, Waiting> waiting_;
    std::set<std::wstring> lost_;  // the writer's own: pictures that could not be written
    toolkit::Worker writer_;       // last: it finishes its work before the rest goes
};

}  // namespace pin
