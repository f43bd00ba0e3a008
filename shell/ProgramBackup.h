#pragma once
// The program backup to diskettes: the installer on the first diskette, and a distribution zip of
// the program and its help files split over as many diskettes as it takes, with the recombination
// file that the installer reads. Also the preparation of a backup diskette that the database
// backup shares.

#include <string>

// The installer's file name in the program folder and on the first diskette.
constexpr const char* kInstallerFileName = "install";

// Makes the diskette in the drive ready for a backup. Only a removable drive of the drive map is
// touched, never one whose folder is the program's or the database's; the files it holds are
// listed and deleted only when the user agrees. False when the backup must not go on.
bool PrepareDiskette(char drive);

// The program backup of the program at `programPath` (its folder's installer, the program and its
// help files). 1 when the diskettes were written, 0 when the user stopped or a step failed.
int RunProgramBackup(const std::string& programPath);
