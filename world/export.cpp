#include "export.h"

#include "codepage.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every CR LF pair inside `line` reduced to its LF.
void AppendWithLfOnly(std::string& out, const std::string& line) {
    size_t start = 0;
    for (size_t pos; (pos = line.find("\r\n", start)) != std::string::npos; start = pos + 2) {
        out.append(line, start, pos - start);
        out += '\n';
    }
    out.append(line, start, std::string::npos);
}

bool WriteAll(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

bool ReplaceFile(const std::string& path, const std::string& bytes) {
    const size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string tempName = folder + "." + name + ".XXXXXX";
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        return false;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            ::close(fd);
            ::unlink(tempName.c_str());
            return false;
        }
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    bool ok = WriteAll(fd, bytes) && (!SyncSavedFiles || ::fsync(fd) == 0);
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tempName.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(tempName.c_str());
    return ok;
}

} // namespace

std::string ServerFileText(const TStringList& lines, const TExportSettings& settings,
                           int* substituted) {
    const bool lf = settings.LineEnd == TServerLineEnd::Lf;
    std::string text;
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const auto& line : lines) {
        if (lf)
            AppendWithLfOnly(text, line);
        else
            text += line;
        text += lf ? "\n" : "\r\n";
    }
    if (settings.CodePage == TServerCodePage::Koi8r)
        return Cp1251ToKoi8r(text, substituted);
    if (substituted)
        *substituted = 0;
    return text;
}

bool WriteForServer(const std::string& path, const TStringList& lines,
                    const TExportSettings& settings, int* substituted) {
    if (ReplaceFile(path, ServerFileText(lines, settings, substituted)))
        return true;
    if (TErrorReporter* reporter = ErrorReporter())
        reporter->ReportError(Msg("Не могу сохранить файл ") + Msg(path));
    return false;
}
