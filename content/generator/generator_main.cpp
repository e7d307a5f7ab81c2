// kamora-content: writes every scene, picture and table of KaMora.ppk into one folder.
//   kamora-content <output folder> <content/generator folder> <DejaVu font folder>
// Reads texts.txt (the show's words) and entries.txt (the names it must write) from the
// content folder. Deterministic: the same inputs give the same bytes.
#include "generator.h"
#include "output.h"
#include "text.h"

#include <algorithm>
#include <cstdio>

// True when the generator wrote exactly the listed entries, each once.
static bool MatchesEntryList(const std::vector<std::string>& expected) {
    std::vector<std::string> written = EmittedEntries(), wanted = expected;
    std::sort(written.begin(), written.end());
    std::sort(wanted.begin(), wanted.end());
    if (written == wanted) return true;
    for (const std::string& name : wanted)
        if (!std::binary_search(written.begin(), written.end(), name)) fprintf(stderr, "not written: %s\n", name.c_str());
    for (size_t i = 0; i < written.size(); i++) {
        if (!std::binary_search(wanted.begin(), wanted.end(), written[i])) fprintf(stderr, "not listed: %s\n", written[i].c_str());
        if (i > 0 && written[i] == written[i - 1]) fprintf(stderr, "written twice: %s\n", written[i].c_str());
    }
    return false;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s <output folder> <content folder> <font folder>\n", argv[0]);
        return 2;
    }
    std::string contentFolder = argv[2];
    TextTable texts;
    std::vector<std::string> entries;
    if (!ReadTexts(contentFolder + "/texts.txt", texts) || !ReadEntryList(contentFolder + "/entries.txt", entries))
        return 1;
    if (!OpenFonts(argv[3])) return 1;
    SetOutputFolder(argv[1]);
    bool ok = WriteTitlePictures(texts);
    ok = WriteCaptions(texts) && ok;
    ok = WriteTextures() && ok;
    ok = WriteTables(texts) && ok;
    ok = WriteOpeningScenes() && ok;
    ok = WriteFrogScenes() && ok;
    ok = WriteRideScenes() && ok;
    ok = WriteLateScenes() && ok;
    CloseFonts();
    if (!ok || !MatchesEntryList(entries)) {
        fprintf(stderr, "kamora-content: failed\n");
        return 1;
    }
    return 0;
}
