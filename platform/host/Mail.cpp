#include "platform/host/Mail.h"

#include "platform/host/Path.h"
#include "platform/host/Process.h"
#include "platform/host/Text.h"

#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

namespace {

std::string g_mailProgram;

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Base64(const std::string& in)
{
    std::string out;
    out.reserve((in.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < in.size(); i += 3) {
        uint32_t v = (static_cast<uint8_t>(in[i]) << 16) | (static_cast<uint8_t>(in[i + 1]) << 8) |
                     static_cast<uint8_t>(in[i + 2]);
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        out += kBase64[(v >> 6) & 63];
        out += kBase64[v & 63];
    }
    if (i < in.size()) {
        uint32_t v = static_cast<uint8_t>(in[i]) << 16;
        if (i + 1 < in.size()) v |= static_cast<uint8_t>(in[i + 1]) << 8;
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        out += i + 1 < in.size() ? kBase64[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// Header fields never carry line breaks from the data (no header injection).
std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text) out += (c == '\r' || c == '\n') ? ' ' : c;
    return out;
}

bool IsPlainAscii(const std::string& text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) > 126 || static_cast<unsigned char>(c) < 32) return false;
    return true;
}

std::string Mailbox(const std::string& name, const std::string& address)
{
    std::string addr = OneLine(address);
    std::string shown = OneLine(name.empty() ? address : name);
    if (IsPlainAscii(shown)) {
        std::string quoted;
        for (char c : shown) {
            if (c == '"' || c == '\\') quoted += '\\';
            quoted += c;
        }
        return "\"" + quoted + "\" <" + addr + ">";
    }
    return EncodeHeaderText(shown) + " <" + addr + ">";
}

// The attachment as a host path, and whether it can be read: 0, or the MAPI failure.
int CheckAttachment(const std::string& path, std::string& hostPath)
{
    if (!ToHostPath(path, hostPath)) return kMailAttachmentNotFound;
    struct stat st;
    if (stat(hostPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return kMailAttachmentNotFound;
    int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kMailAttachmentOpenFailure;
    close(fd);
    return kMailSuccess;
}

bool ReadWhole(const std::string& hostPath, std::string& out)
{
    std::FILE* f = std::fopen(hostPath.c_str(), "rb");
    if (!f) return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string AbsoluteHostPath(const std::string& hostPath)
{
    if (!hostPath.empty() && hostPath[0] == '/') return hostPath;
    char buf[4096];
    if (!getcwd(buf, sizeof buf)) return hostPath;
    return std::string(buf) + "/" + hostPath;
}

}  // namespace

void SetMailProgram(const std::string& program) { g_mailProgram = program; }
const std::string& GetMailProgram() { return g_mailProgram; }

bool IsMailProgramAvailable()
{
    return FindProgram(g_mailProgram.empty() ? std::string(kDefaultMailProgram) : g_mailProgram);
}

std::string Base64Lines(const std::string& bytes)
{
    std::string b = Base64(bytes);
    std::string out;
    for (size_t i = 0; i < b.size(); i += 76) out += b.substr(i, 76) + "\n";
    return out;
}

std::string EncodeHeaderText(const std::string& cp1252)
{
    std::string text = OneLine(cp1252);
    if (IsPlainAscii(text)) return text;
    return "=?UTF-8?B?" + Base64(Cp1252ToUtf8(text)) + "?=";
}

std::string BuildMimeMessage(const MailMessage& m, const std::string& boundary)
{
    static const char* const kField[] = {"To", "Cc", "Bcc"};
    int cls = m.recipientClass >= 1 && m.recipientClass <= 3 ? m.recipientClass : 1;
    std::string out;
    std::string list;
    for (size_t i = 0; i < m.addresses.size(); ++i) {
        if (!list.empty()) list += ",\n ";
        list += Mailbox(i < m.names.size() ? m.names[i] : std::string(), m.addresses[i]);
    }
    out += std::string(kField[cls - 1]) + ": " + list + "\n";
    out += "Subject: " + EncodeHeaderText(m.subject) + "\n";
    out += "MIME-Version: 1.0\n";
    std::string textPart = "Content-Type: text/plain; charset=UTF-8\n"
                           "Content-Transfer-Encoding: base64\n\n" +
                           Base64Lines(Cp1252ToUtf8(m.body));
    if (m.attachments.empty()) return out + textPart;
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n\n";
    out += "--" + boundary + "\n" + textPart;
    for (const std::string& path : m.attachments) {
        std::string hostPath, bytes;
        if (ToHostPath(path, hostPath)) ReadWhole(hostPath, bytes);
        std::string name = EncodeHeaderText(BaseName(path));
        out += "--" + boundary + "\n";
        out += "Content-Type: application/octet-stream; name=\"" + name + "\"\n";
        out += "Content-Disposition: attachment; filename=\"" + name + "\"\n";
        out += "Content-Transfer-Encoding: base64\n\n";
        out += Base64Lines(bytes);
    }
    out += "--" + boundary + "--\n";
    return out;
}

int SendMail(const MailMessage& m)
{
    std::vector<std::string> hostPaths;
    for (const std::string& path : m.attachments) {
        std::string hostPath;
        int check = CheckAttachment(path, hostPath);
        if (check != kMailSuccess) return check;
        hostPaths.push_back(AbsoluteHostPath(hostPath));
    }
    if (g_mailProgram.empty()) {
        std::vector<std::string> args{"--utf8"};
        if (!m.subject.empty()) args.insert(args.end(), {"--subject", OneLine(m.subject)});
        if (!m.body.empty()) args.insert(args.end(), {"--body", m.body});
        for (const std::string& hp : hostPaths) {
            std::string programPath;
            if (!FromHostPath(hp, programPath)) return kMailAttachmentNotFound;
            args.insert(args.end(), {"--attach", programPath});
        }
        // mailto addresses carry no display names: the client shows the addresses.
        for (const std::string& a : m.addresses) {
            if (m.recipientClass == 2) args.push_back("--cc");
            if (m.recipientClass == 3) args.push_back("--bcc");
            args.push_back(OneLine(a));
        }
        ProcessResult r = StartProcess(kDefaultMailProgram, args, true);
        if (!r.started) return kMailFailure;
        switch (r.exitCode) {
        case 0: return kMailSuccess;
        case 2: return kMailAttachmentNotFound;
        case 5: return kMailAttachmentOpenFailure;
        default: return kMailFailure;
        }
    }
    if (m.addresses.empty()) return kMailInvalidRecips;
    std::mt19937_64 rng(static_cast<uint64_t>(getpid()) ^ static_cast<uint64_t>(m.body.size()) ^
                        reinterpret_cast<uintptr_t>(&m));
    char boundary[48];
    std::snprintf(boundary, sizeof boundary, "=_dq_%016llx", static_cast<unsigned long long>(rng()));
    std::string message = BuildMimeMessage(m, boundary);
    ProcessResult r = StartProcess(g_mailProgram, {"-t", "-oi"}, true, &message);
    if (!r.started) return kMailFailure;
    return r.exitCode == 0 ? kMailSuccess : kMailFailure;
}

}  // namespace host
