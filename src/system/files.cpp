#include "system/files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/reset.hpp"
#include "platform/exit.hpp"

namespace vorlune::system {
namespace {

enum class FileMode { Closed, Reading, Writing, Appending };

constexpr std::size_t kMaxNameLength = 255;

// The script's file table. Slot n belongs to handle n; slot 0 exists once a
// file was opened but is never bound. Slots are never reused or released.
// Files are C streams: every way out of the process ends in std::exit, which
// writes out the buffers of streams still open, so nothing written is lost.
// An exit handler flushes them as well, before handlers registered earlier
// (a sanitizer's leak check, say) may end the process without stdio's own
// flush.
struct FileTable {
    std::vector<std::FILE*> stream;   // the open stream, or null
    std::vector<FileMode> mode;       // how the slot's file is open
    std::vector<std::string> name;    // the name the slot was bound to (cut to 255 bytes)
    int32_t issued = 0;               // handles issued so far; the last one is `issued`
    bool flushAtExit = false;         // FlushOpenFiles is registered with atexit
} files;

std::string argumentsString;          // ArgumentsString: every command-line argument followed by one space

// Runs at exit. A file that cannot be written out ends the run as a failed
// fprint would, once every other file was flushed (std::exit is already
// running, so the process leaves with _Exit).
void FlushOpenFiles() {
    std::string failure;
    for (std::size_t slot = 0; slot < files.stream.size(); ++slot) {
        std::FILE* stream = files.stream[slot];
        if (stream && std::fflush(stream) != 0 && failure.empty()) {
            failure = "Write error on file \"" + files.name[slot] + "\": " + std::strerror(errno);
        }
    }
    if (failure.empty()) return;
    std::printf("An unhandled error occurred: %s\n", failure.c_str());
    std::fflush(stdout);
    std::_Exit(platform::kUnhandledErrorStatus);
}

// The slot of a handle that was issued; any other handle ends the run.
std::size_t SlotOf(int32_t file) {
    if (file < 1 || file > files.issued) {
        platform::UnhandledError("Invalid file handle: " + std::to_string(file));
    }
    return static_cast<std::size_t>(file);
}

bool IsReading(std::size_t slot) { return files.mode[slot] == FileMode::Reading; }
bool IsWriting(std::size_t slot) {
    return files.mode[slot] == FileMode::Writing || files.mode[slot] == FileMode::Appending;
}

// The stream of a slot open for reading; anything else ends the run.
std::FILE* InputStream(int32_t file) {
    std::size_t slot = SlotOf(file);
    if (IsReading(slot)) return files.stream[slot];
    platform::UnhandledError(files.mode[slot] == FileMode::Closed ? "File not open" : "File not open for input");
}

std::FILE* OutputStream(int32_t file) {
    std::size_t slot = SlotOf(file);
    if (IsWriting(slot)) return files.stream[slot];
    platform::UnhandledError(files.mode[slot] == FileMode::Closed ? "File not open" : "File not open for output");
}

[[noreturn]] void StreamError(const char* what, int32_t file, int error) {
    platform::UnhandledError(std::string(what) + " \"" + files.name[static_cast<std::size_t>(file)] + "\": " +
                   std::strerror(error));
}

// The next character without taking it, or EOF at the end of the file.
int Peek(std::FILE* stream, int32_t file) {
    int c = getc_unlocked(stream);
    if (c == EOF) {
        if (std::ferror(stream)) StreamError("Read error on file", file, errno);
        return EOF;
    }
    ungetc(c, stream);
    return c;
}

// Opens name as mode asks ('R', 'W' or 'A'); null when the system refuses.
std::FILE* OpenStream(const std::string& name, char mode) {
    int fd = -1;
    const char* streamMode = "r";
    if (mode == 'R') {
        fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
        // A directory opens for reading but is not a text file.
        struct stat info;
        if (fd >= 0 && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
            close(fd);
            return nullptr;
        }
    } else if (mode == 'W') {
        fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        streamMode = "w";
    } else {
        // Append needs an existing file.
        fd = open(name.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        streamMode = "a";
    }
    if (fd < 0) return nullptr;
    std::FILE* stream = fdopen(fd, streamMode);
    if (!stream) close(fd);
    return stream;
}

void ReportOnFailure(int result, const char* text, const std::string& path) {
    if (result != 0) platform::ShowMessageBox(1, "Error", text + path);
}

}  // namespace

int32_t Open(const std::string& name, const std::string& mode) {
    if (!files.flushAtExit) files.flushAtExit = std::atexit(FlushOpenFiles) == 0;
    int32_t n = ++files.issued;
    std::size_t slots = static_cast<std::size_t>(n) + 1;
    files.stream.resize(slots, nullptr);
    files.mode.resize(slots, FileMode::Closed);
    files.name.resize(slots);
    std::size_t slot = static_cast<std::size_t>(n);
    files.name[slot] = name.substr(0, kMaxNameLength);

    std::string upper = mode;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    FileMode opened;
    if (upper == "R") opened = FileMode::Reading;
    else if (upper == "W") opened = FileMode::Writing;
    else if (upper == "A") opened = FileMode::Appending;
    else return n;  // bound but closed: every later operation on it fails

    std::FILE* stream = OpenStream(files.name[slot], upper[0]);
    if (!stream) platform::FatalErrorBox("Error", "File not found: " + name);
    files.stream[slot] = stream;
    files.mode[slot] = opened;
    return n;
}

void Close(int32_t file) {
    std::size_t slot = SlotOf(file);
    if (files.mode[slot] == FileMode::Closed) platform::UnhandledError("File not open");
    std::FILE* stream = files.stream[slot];
    files.stream[slot] = nullptr;
    files.mode[slot] = FileMode::Closed;
    if (std::fclose(stream) != 0) StreamError("Error closing file", file, errno);
}

void FPrint(int32_t file, const std::string& text) {
    std::FILE* stream = OutputStream(file);
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() || std::fputc('\n', stream) == EOF) {
        StreamError("Write error on file", file, errno);
    }
}

bool Eof(int32_t file) {
    return Peek(InputStream(file), file) == EOF;
}

bool Eoln(int32_t file) {
    std::size_t slot = SlotOf(file);
    if (!IsReading(slot)) return true;
    int c = Peek(files.stream[slot], file);
    return c == EOF || c == '\n' || c == '\r';
}

std::string FInput(int32_t file) {
    std::FILE* stream = InputStream(file);
    std::string line;
    int c;
    while ((c = getc_unlocked(stream)) != EOF && c != '\n' && c != '\r') line += static_cast<char>(c);
    if (c == '\r' && Peek(stream, file) == '\n') getc_unlocked(stream);
    if (c == EOF && std::ferror(stream)) StreamError("Read error on file", file, errno);
    return line;
}

void MakeDir(const std::string& path) {
    ReportOnFailure(mkdir(path.c_str(), 0777), "Error generating directory: ", path);
}

void RemoveDir(const std::string& path) {
    ReportOnFailure(rmdir(path.c_str()), "Error removing directory: ", path);
}

void ChangeDir(const std::string& path) {
    if (path.empty()) return;
    ReportOnFailure(chdir(path.c_str()), "Error changing to directory: ", path);
}

void DeleteFile(const std::string& path) {
    ReportOnFailure(unlink(path.c_str()), "Error removing file: ", path);
}

void RecordArguments(int argc, char** argv) {
    argumentsString.clear();
    for (int i = 0; i < argc; ++i) {
        argumentsString += argv[i];
        argumentsString += ' ';
    }
}

std::string Arguments() { return argumentsString; }

std::string OsType() { return "Linux32"; }

const core::ResetHook resetHook([] {
    for (std::FILE* stream : files.stream) {
        if (stream) std::fclose(stream);
    }
    bool registered = files.flushAtExit;
    files = FileTable{};
    files.flushAtExit = registered;
});

}  // namespace vorlune::system
