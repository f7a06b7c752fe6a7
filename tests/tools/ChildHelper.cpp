// A stand-in for a console tool, driven by its arguments, which are carried out in
// order:
//   out=TEXT / err=TEXT  write TEXT to stdout / stderr in one write; \n, \r, \\ and
//                        \xHH stand for LF, CR, a backslash and any byte
//   sleep=MS             sleep
//   flood=BYTES          write numbered lines of 16 bytes to stdout, 4096 bytes per
//                        write, then the line "END"
//   endless=BYTES        write BYTES letters to stdout, 64 KB per write, and no line end
//   cwd                  write the working directory and a LF to stdout
//   stdin                write "stdin: end of file" or "stdin: data" to stdout
//   ignore-term          ignore SIGTERM from now on
//   grandchild=SECONDS   start a grandchild that keeps stdout and stderr open, sleeps,
//                        then writes "grandchild finished"; its pid goes to stdout
//   exit=N               exit status at the end (0 by default)
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

void writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            std::exit(120);
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

std::string unescape(std::string_view text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            bytes += text[i];
            continue;
        }
        const char next = text[++i];
        if (next == 'n')
            bytes += '\n';
        else if (next == 'r')
            bytes += '\r';
        else if (next == 'x' && i + 2 < text.size()) {
            bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else
            bytes += next;
    }
    return bytes;
}

void flood(long total)
{
    std::string buffer;
    long line = 0;
    long written = 0;
    while (written < total) {
        char text[32];
        std::snprintf(text, sizeof text, "line %010ld\n", line++);
        buffer += text;
        written += 16;
        if (buffer.size() >= 4096) {
            writeAll(STDOUT_FILENO, std::string_view(buffer).substr(0, 4096));
            buffer.erase(0, 4096);
        }
    }
    buffer += "END\n";
    writeAll(STDOUT_FILENO, buffer);
}

void reportStdin()
{
    char byte = 0;
    const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
    writeAll(STDOUT_FILENO, got == 0 ? "stdin: end of file\n" : "stdin: data\n");
}

void startGrandchild(int seconds)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::sleep(static_cast<unsigned>(seconds));
        writeAll(STDOUT_FILENO, "grandchild finished\n");
        std::_Exit(0);
    }
    writeAll(STDOUT_FILENO, "grandchild=" + std::to_string(pid) + "\n");
}

void writeWithoutLineEnd(long total)
{
    const std::string piece(64 * 1024, 'x');
    for (long left = total; left > 0; left -= static_cast<long>(piece.size()))
        writeAll(STDOUT_FILENO, std::string_view(piece).substr(0, static_cast<size_t>(left)));
}

} // namespace

int main(int argc, char **argv)
{
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const size_t equals = argument.find('=');
        const std::string_view key = argument.substr(0, equals);
        const std::string_view value = equals == std::string_view::npos ? "" : argument.substr(equals + 1);
        if (key == "out")
            writeAll(STDOUT_FILENO, unescape(value));
        else if (key == "err")
            writeAll(STDERR_FILENO, unescape(value));
        else if (key == "sleep")
            ::usleep(static_cast<useconds_t>(std::atol(value.data())) * 1000);
        else if (key == "flood")
            flood(std::atol(value.data()));
        else if (key == "endless")
            writeWithoutLineEnd(std::atol(value.data()));
        else if (key == "cwd") {
            char directory[4096];
            writeAll(STDOUT_FILENO, std::string(::getcwd(directory, sizeof directory) ? directory : "?") + "\n");
        } else if (key == "stdin")
            reportStdin();
        else if (key == "ignore-term")
            std::signal(SIGTERM, SIG_IGN);
        else if (key == "grandchild")
            startGrandchild(std::atoi(value.data()));
        else if (key == "exit")
            status = std::atoi(value.data());
    }
    return status;
}
