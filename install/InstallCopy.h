#pragma once
// Getting the distribution zip into the target folder: a plain copy, or the recombination of a
// diskette set described by "RecombineInfo.dat" on the source's drive.

#include <string>

// Copies `source` to `target`, asking on failure: "File %s exists.\n Overwrite?" (Yes copies
// over it), "Disk is full in copying %s to %s.\nTry again?", "Error in copying %s to %s.\nTry
// again?". 0 copied; 1 when the user gave up.
int InstallCopyFileWithRetry(const std::string& source, const std::string& target,
                             int failIfExists);

// When the drive of `source` carries "RecombineInfo.dat", rebuilds the file from the diskette set
// into `target` (asking for each next diskette); otherwise copies it. 0 on success, 1 on failure
// or cancel, the user having been told.
int CopyOrRecombineFile(const std::string& source, const std::string& target, int failIfExists);
