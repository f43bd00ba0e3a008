#pragma once
// Handing one message to the desk's mail system, in place of Simple MAPI. By default through
// `xdg-email`, which opens the desk's mail client with the message filled in (as the MAPI
// compose dialog does); where a mail program is set, through its sendmail interface
// (`program -t -oi`, the whole MIME message on its standard input). Results are the Simple MAPI
// numbers, so that callers tell them in the MAPI words.
//
// Texts are Windows-1252 inside; the message leaves as UTF-8 (arguments, MIME body, RFC 2047
// encoded headers, base64 attachments).

#include <string>
#include <vector>

namespace host {

struct MailMessage {
    std::string subject;
    std::string body;
    int recipientClass = 1;  // 1 to, 2 cc, 3 bcc
    std::vector<std::string> names;      // the i-th name goes with the i-th address
    std::vector<std::string> addresses;
    std::vector<std::string> attachments;  // program paths
};

// Simple MAPI result numbers used here.
enum MailResult : int {
    kMailSuccess = 0,
    kMailFailure = 2,
    kMailAttachmentNotFound = 11,
    kMailAttachmentOpenFailure = 12,
    kMailInvalidRecips = 25,
};

inline constexpr const char* kDefaultMailProgram = "xdg-email";

// The sendmail-style program ("" for xdg-email), from the settings; tests set a fake one.
void SetMailProgram(const std::string& program);
const std::string& GetMailProgram();
// Whether the program that would take the message can be started.
bool IsMailProgramAvailable();

// Hands the message over; attachments are checked first (missing: 11, unreadable: 12).
int SendMail(const MailMessage& message);

// The MIME message the sendmail interface gets, with the given boundary (tests fix it).
std::string BuildMimeMessage(const MailMessage& message, const std::string& boundary);
// Base64 with lines of 76 characters, each ending "\n".
std::string Base64Lines(const std::string& bytes);
// A header text: as it is when plain ASCII, else one RFC 2047 encoded word (UTF-8, base64).
std::string EncodeHeaderText(const std::string& cp1252);

}  // namespace host
