// What the main window keeps of the capture history between its handlers.
#pragma once

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "output/history_store.h"
#include "output/picture_file.h"
#include "toolkit/picture.h"

namespace app {

struct HistoryKeeping {
    std::unique_ptr<output::history::Store> store;  // none while the history is off
    // The picture in the viewer and its entry, which has no name until it is
    // kept (an opened file's, until it is marked).
    toolkit::Picture picture;
    std::wstring current;
    bool onDisk = false;
    output::history::Source source = output::history::Source::Capture;
    output::history::Stamp time;
    // What the next capture is, from the command that started it.
    output::history::Source nextSource = output::history::Source::Capture;
    // An entry being reopened: the picture that arrives is its, not a new one.
    std::wstring reopening;
    std::string written;  // the record queued last, redactions included
    std::vector<output::markup::Box> redactionsWritten;
    output::history::Session noted;
    bool timerSet = false;
    std::vector<std::wstring> listed;  // the Recent submenu's entries, newest first
    // What the last run left, its picture decoding, until the window shows it.
    output::history::Leftover left;
    std::future<output::DecodedPicture> leftPicture;
};

class Texts;
// A source's name in the Recent submenu, in the language loaded.
std::wstring SourceName(const Texts& texts, output::history::Source source);
// The setting, read at start: on unless it is "0".
bool HistoryWanted();
void SetHistoryWanted(bool on);

}  // namespace app
