// Helpers for tests that must watch a fatal end: catch the fatal message
// in-process, or run a piece of code in a child process, or the built program
// itself, and collect its exit status and everything it wrote to the console.
#ifndef NIVEX_TESTS_TESTUTIL_H
#define NIVEX_TESTS_TESTUTIL_H

#include <functional>
#include <string>
#include <vector>

struct Izid {
    int status = -1;   // exit status, or -1 when the child did not exit normally
    std::string out;   // standard output (in-process: the message's text)
    std::string err;   // standard error (children only)
};

// Runs f in this process: status 1 and the message's whole text when f ends
// with a fatal error, status 0 and no text when it returns.
Izid Zavrni(const std::function<void()>& f);

// Runs f in a forked child with an empty standard input; a fatal error
// ends the child as it ends the program (console, pause, status 1).
Izid RunChild(const std::function<void()>& f);

// Runs the built nivex executable with the given arguments in workdir,
// feeding stdinText on its standard input; pomnilnikMB > 0 limits its
// address space, so that a large allocation fails at once.
Izid RunNivex(const std::vector<std::string>& args, const std::string& workdir,
              const std::string& stdinText = "", unsigned long pomnilnikMB = 0);

// A fresh empty directory under the system's temporary directory.
std::string TempDir(const std::string& tag);

// Writes text to mreza.dat in a fresh directory and returns its path.
std::string Datoteka(const std::string& text);

// Runs f with the console output swallowed and returns what it wrote (the
// console is restored also when f ends with a fatal error).
std::string Tiho(const std::function<void()>& f);

// Whole file as bytes ("" when it cannot be read).
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

// The text with the banner's date and the elapsed seconds of the closing
// lines masked ("<DATUM>", "<CAS>"), the only parts that differ between runs.
std::string Maskiraj(const std::string& text);

// Lines of a text (without their line breaks).
std::vector<std::string> Lines(const std::string& text);

// True while some entry of the text catalogue has no English words yet (the
// tests of the English output skip until then).
bool KatalogNepopoln();
// The first word of the report's Slovenian vocabulary found in `text`, as a
// whole word in any case, that the data file `data` does not hold itself
// (point names and remarks pass as written); "" when there is none.
std::string SlovenskaBeseda(const std::string& text, const std::string& data);

#endif
