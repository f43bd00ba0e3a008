// CEmail over the two hand-offs: fake `xdg-email` and sendmail programs record their arguments
// and input; classes, names, attachments and exit codes come out as the MAPI result texts.

#include "PrintTestSupport.h"

#include "platform/host/Mail.h"
#include "reports/Email.h"
#include "tests/reports/FakeMailPrograms.h"

#include <gmock/gmock.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string DecodeBase64(const std::string& in)
{
    static const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t acc = 0;
    int bits = 0;
    for (char c : in) {
        size_t v = chars.find(c);
        if (v == std::string::npos) continue;
        acc = (acc << 6) | static_cast<uint32_t>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((acc >> bits) & 0xFF);
        }
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class Email : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        mail_.Install(folder_);
        bin_ = mail_.Bin();
        host::SetMailProgram("");
    }
    void TearDown() override
    {
        host::SetMailProgram("");
        mail_.Remove();
        PrintTest::TearDown();
    }
    void ExitWith(int code) { dqtest::WriteBytes(folder_ + "/exit", std::to_string(code)); }
    std::vector<std::string> Args() const { return SplitLines(dqtest::ReadBytes(folder_ + "/args")); }
    bool Ran() const { return mail_.Ran(); }

    // Construct, Load, and when it gave 0, Send and Unload, as callers do.
    int Mail(CEmail& mail)
    {
        const int loaded = mail.Load();
        if (loaded == 0) {
            mail.Send();
            mail.Unload();
        }
        return loaded;
    }

    CFakeMailPrograms mail_;
    std::string bin_;
};

const char* const kOk = "The email operation succeeded. If you clicked 'Send' the message was put in out box.";

TEST_F(Email, XdgEmailGetsClassSubjectBodyAndAttachments)
{
    const std::string file = folder_ + "/week.rpt";
    dqtest::WriteBytes(file, "data");
    struct Case {
        int cls;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {1, {"--utf8", "--subject", "Week caf\xC3\xA9", "--body", "Body", "--attach", file, "a@x.org", "b@x.org"}},
        {2, {"--utf8", "--subject", "Week caf\xC3\xA9", "--body", "Body", "--attach", file, "--cc", "a@x.org", "--cc", "b@x.org"}},
        {3, {"--utf8", "--subject", "Week caf\xC3\xA9", "--body", "Body", "--attach", file, "--bcc", "a@x.org", "--bcc", "b@x.org"}},
    };
    for (const Case& c : cases) {
        Hooks().messageBoxAnswers = {ui::IDOK};
        CEmail mail("Week caf\xE9", "Body", c.cls, {"Ann"}, {"a@x.org", "b@x.org"}, {file});
        EXPECT_EQ(Mail(mail), 0);
        EXPECT_EQ(Args(), c.expected) << c.cls;
    }
    EXPECT_EQ(Hooks().messageBoxTexts, (std::vector<std::string>(3, kOk)));
}

TEST_F(Email, ExitCodesAndAttachmentChecksBecomeMapiTexts)
{
    const std::string file = folder_ + "/a.txt";
    dqtest::WriteBytes(file, "x");
    struct Case {
        const char* program;  // "" xdg-email, else the sendmail program
        int exitCode;
        std::vector<std::string> addresses;
        std::vector<std::string> attachments;
        int result;
        bool runs;
        const char* text;
    };
    const std::string missing = folder_ + "/missing.txt";
    const std::string sendmail = bin_ + "/fakesendmail";
    const Case cases[] = {
        {"", 0, {"a@x.org"}, {}, 0, true, kOk},
        {"", 2, {"a@x.org"}, {file}, 11, true, "The specified attachment was not found. No message was sent. "},
        {"", 5, {"a@x.org"}, {file}, 12, true, "The specified attachment could not be opened. No message was sent. "},
        {"", 3, {"a@x.org"}, {file}, 2, true,
         "One or more unspecified errors occurred. Possibly attached files not found. No message was sent. "},
        {"", 4, {"a@x.org"}, {}, 2, true, "One or more unspecified errors occurred. No message was sent. "},
        {"", 0, {"a@x.org"}, {missing}, 11, false, "The specified attachment was not found. No message was sent. "},
        {"", 0, {"a@x.org"}, {folder_}, 11, false, "The specified attachment was not found. No message was sent. "},
        {"", 0, {}, {}, 0, true, kOk},
        {sendmail.c_str(), 0, {"a@x.org"}, {file}, 0, true, kOk},
        {sendmail.c_str(), 75, {"a@x.org"}, {}, 2, true, "One or more unspecified errors occurred. No message was sent. "},
        {sendmail.c_str(), 0, {}, {}, 25, false, "One or more recipients were invalid or did not resolve to any address. "},
        {sendmail.c_str(), 0, {"a@x.org"}, {missing}, 11, false, "The specified attachment was not found. No message was sent. "},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(folder_ + "/args");
        ExitWith(c.exitCode);
        host::SetMailProgram(c.program);
        Hooks().messageBoxTexts.clear();
        Hooks().messageBoxAnswers = {ui::IDOK};
        CEmail mail("S", "", 1, {}, c.addresses, c.attachments);
        EXPECT_EQ(Mail(mail), 0);
        EXPECT_EQ(mail.GetLastResult(), c.result) << c.program << " " << c.exitCode;
        EXPECT_EQ(Ran(), c.runs) << c.program << " " << c.exitCode;
        EXPECT_EQ(Hooks().messageBoxTexts, (std::vector<std::string>{c.text})) << c.result;
    }
}

TEST_F(Email, UnreadableAttachmentIsNotHandedOver)
{
    if (geteuid() == 0) GTEST_SKIP() << "the super-user reads every file";
    const std::string file = folder_ + "/locked.txt";
    dqtest::WriteBytes(file, "x");
    chmod(file.c_str(), 0);
    Hooks().messageBoxAnswers = {ui::IDOK};
    CEmail mail("S", "", 1, {}, {"a@x.org"}, {file});
    Mail(mail);
    EXPECT_EQ(mail.GetLastResult(), 12);
    EXPECT_FALSE(Ran());
}

TEST_F(Email, SendmailGetsAMimeMessageWhoseAttachmentDecodesToTheFile)
{
    host::SetMailProgram(bin_ + "/fakesendmail");
    const std::string file = folder_ + "/Week r\xC3\xA9port.rpt";
    std::string bytes;
    for (int i = 0; i < 700; ++i) bytes += static_cast<char>(i * 7 & 0xFF);
    dqtest::WriteBytes(file, bytes);
    Hooks().messageBoxAnswers = {ui::IDOK};
    CEmail mail("Caf\xE9 week\r\nBcc: evil@x.org", "Ligne \xE9t\xE9\n", 1, {"Ren\xE9 Roe"},
                {"rene@x.org", "plain@x.org"}, {folder_ + "/Week r\xE9port.rpt"});
    EXPECT_EQ(Mail(mail), 0);
    EXPECT_EQ(Args(), (std::vector<std::string>{"-t", "-oi"}));
    const std::string input = dqtest::ReadBytes(folder_ + "/input");
    const std::vector<std::string> lines = SplitLines(input);
    // Names that are not plain ASCII are encoded words; a missing name is the address itself.
    EXPECT_THAT(input, ::testing::HasSubstr("To: =?UTF-8?B?UmVuw6kgUm9l?= <rene@x.org>,\n \"plain@x.org\" <plain@x.org>\n"));
    // The subject keeps to one header line.
    EXPECT_THAT(input, ::testing::HasSubstr("Subject: =?UTF-8?B?" ));
    EXPECT_THAT(input, ::testing::Not(::testing::HasSubstr("\nBcc:")));
    EXPECT_THAT(input, ::testing::HasSubstr("MIME-Version: 1.0\n"));
    // The body part, then the attachment part.
    size_t att = input.find("Content-Disposition: attachment;");
    ASSERT_NE(att, std::string::npos);
    size_t start = input.find("\n\n", att);
    size_t end = input.find("\n--", start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(DecodeBase64(input.substr(start, end - start)), bytes);
    size_t body = input.find("charset=UTF-8\nContent-Transfer-Encoding: base64\n\n");
    ASSERT_NE(body, std::string::npos);
    size_t bodyEnd = input.find("\n--", body);
    EXPECT_EQ(DecodeBase64(input.substr(body + 49, bodyEnd - body - 49)), "Ligne \xC3\xA9t\xC3\xA9\n");
    for (const std::string& l : lines) EXPECT_LE(l.size(), 998u);
}

TEST_F(Email, NoMailProgramShowsNothing)
{
    host::SetMailProgram(folder_ + "/no-such-program");
    CEmail mail("S", "T", 1, {}, {"a@x.org"}, {});
    EXPECT_EQ(Mail(mail), 2);
    host::SetMailProgram("");
    setenv("PATH", (folder_ + "/empty").c_str(), 1);
    CEmail other("S", "T", 1, {}, {"a@x.org"}, {});
    EXPECT_EQ(Mail(other), 2);
    EXPECT_TRUE(Hooks().messageBoxTexts.empty());
    EXPECT_FALSE(Ran());
}

}  // namespace
