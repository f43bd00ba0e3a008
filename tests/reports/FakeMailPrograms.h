#pragma once
// Fake mail programs first on PATH: `xdg-email` and `fakesendmail` each write their arguments one
// a line to "<folder>/args" and their input to "<folder>/input", then exit with the code in
// "<folder>/exit" (0 when there is none).

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TestFiles.h"

class CFakeMailPrograms {
public:
    // Puts the programs in "<folder>/bin" and that folder first on PATH.
    void Install(const std::string& folder)
    {
        folder_ = folder;
        bin_ = folder + "/bin";
        std::filesystem::create_directory(bin_);
        const char* path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        setenv("PATH", (bin_ + ":" + oldPath_).c_str(), 1);
        const std::string script = "#!/bin/sh\n"
                                   "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + folder + "/args\"\n"
                                   "cat > \"" + folder + "/input\"\n"
                                   "code=0; [ -f \"" + folder + "/exit\" ] && code=$(cat \"" + folder + "/exit\")\n"
                                   "exit $code\n";
        for (const char* program : {"xdg-email", "fakesendmail"}) {
            dqtest::WriteBytes(bin_ + "/" + program, script);
            chmod((bin_ + "/" + program).c_str(), 0755);
        }
    }
    // PATH as it was.
    void Remove() { setenv("PATH", oldPath_.c_str(), 1); }

    const std::string& Bin() const { return bin_; }
    bool Ran() const { return std::filesystem::exists(folder_ + "/args"); }

private:
    std::string folder_;
    std::string bin_;
    std::string oldPath_;
};
