// Takes the place of 7-Zip's console program for the one command the launcher
// runs: "7z x -aoa ARCHIVE -o"FOLDER\"". Exit codes as 7-Zip's: 0 done,
// 2 fatal error (a damaged or missing archive), 7 a command-line error.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "assets/zipdll/zip_extract.h"

namespace {

// 7-Zip splits its command line itself: a double quote toggles quoting and is
// dropped, and a backslash is an ordinary character, so -o"D:\x\" names D:\x\.
std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (const char* p = line; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((*p == ' ' || *p == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += *p;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

}  // namespace

int main() {
    std::vector<std::string> words = SplitCommandLine(GetCommandLineA());
    std::string archive, folder = ".";
    bool extract = false;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (i == 1 && w == "x") {
            extract = true;
        } else if (w.rfind("-o", 0) == 0) {
            folder = w.substr(2);
        } else if (w == "-aoa" || w == "-y") {
            // overwriting is all this stand-in does anyway
        } else if (w[0] == '-') {
            fprintf(stderr, "Command Line Error: Unsupported switch: %s\n", w.c_str());
            return 7;
        } else if (archive.empty()) {
            archive = w;
        }
    }
    if (!extract || archive.empty()) {
        fprintf(stderr, "Command Line Error: usage: 7z x -aoa ARCHIVE -oFOLDER\n");
        return 7;
    }
    printf("Extracting archive: %s\n", archive.c_str());
    if (ExtractZipToFolder(archive, folder) == ZipExtractResult::Damaged) {
        fprintf(stderr, "ERROR: %s\nCan not open the file as archive\n", archive.c_str());
        return 2;
    }
    printf("Everything is Ok\n");
    return 0;
}
