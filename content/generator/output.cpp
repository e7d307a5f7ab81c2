// Where the entries go, and the editable text files.
#include "output.h"

#include <cstdio>
#include <fstream>

static std::string OutputFolder = ".";
static std::vector<std::string> Emitted;

void SetOutputFolder(const std::string& folder) { OutputFolder = folder; }
const std::vector<std::string>& EmittedEntries() { return Emitted; }

static std::string Record(const std::string& entry) {
    Emitted.push_back(entry);
    return OutputFolder + "/" + entry;
}

bool EmitPicture(const std::string& entry, const Picture& picture) {
    bool ok = WriteTGA(Record(entry), picture);
    if (!ok) fprintf(stderr, "cannot write %s\n", entry.c_str());
    return ok;
}

bool EmitModel(const std::string& entry, const Model& model) { return WriteModel3DS(Record(entry), model); }

bool EmitBytes(const std::string& entry, const std::vector<unsigned char>& bytes) {
    bool ok = WriteBytes(Record(entry), bytes);
    if (!ok) fprintf(stderr, "cannot write %s\n", entry.c_str());
    return ok;
}

static std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// Calls `visit` with every trimmed line of the file that is neither blank nor a comment.
template <typename Visit>
static bool ForEachLine(const std::string& path, Visit visit) {
    std::ifstream file(path);
    if (!file) {
        fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    std::string line;
    while (std::getline(file, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] != '#') visit(line);
    }
    return true;
}

bool ReadTexts(const std::string& path, std::map<std::string, std::vector<std::string>>& texts) {
    return ForEachLine(path, [&](const std::string& line) {
        size_t equals = line.find('=');
        if (equals == std::string::npos) return;
        std::vector<std::string> parts;
        std::string rest = line.substr(equals + 1);
        size_t start = 0;
        for (;;) {
            size_t bar = rest.find('|', start);
            parts.push_back(Trim(rest.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
        texts[Trim(line.substr(0, equals))] = parts;
    });
}

bool ReadEntryList(const std::string& path, std::vector<std::string>& names) {
    return ForEachLine(path, [&](const std::string& line) { names.push_back(line); });
}
