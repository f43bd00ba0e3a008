#pragma once
// Extracting the distribution zip into the installation folder.

#include <string>

// Makes `targetFolder` the current folder and extracts every item of the zip: a file under the
// last part of its stored name directly in the target folder, a folder item as that folder (every
// level) below it; items keep their stored times and execute bits. A stored name that would leave
// the folder is refused. 0 all extracted; 1 the zip could not be opened ("Error in unZIPping
// %s"); 2 some items were not extracted (told, with their names).
int UnzipArchive(const std::string& zipPath, const std::string& targetFolder);
