#pragma once
// Computer names as the copies of the program know each other by: a host name's first label in
// upper case, at most 15 characters; a dotted IPv4 address stays as it is. Environment settings
// let several copies run on one machine, each with its own name and address:
//   DORVALQUINTEX_COMPUTERNAME  this computer's name
//   DORVALQUINTEX_ADDRESS       the IPv4 address this copy listens on (default: any)
//   DORVALQUINTEX_SERVER        the server computer of every database (default: from the path)

#include <string>
#include <vector>

namespace host {

// True for four dot-separated decimal numbers of 0-255.
bool IsDottedIPv4(const std::string& name);
// A name in the form above ("studio-pc.local" -> "STUDIO-PC"; "10.0.0.5" as it is).
std::string NormaliseComputerName(const std::string& name);
// This computer's name; empty when the system cannot tell.
std::string ThisComputerName();
// The address to listen on; empty for any local address.
std::string ListenAddress();
// DORVALQUINTEX_SERVER normalised, or empty when unset.
std::string ServerComputerOverride();
// The computer that holds the file or folder at a host path when it lies on a CIFS or NFS
// mount (normalised); empty for a local path.
std::string RemoteHostOfPath(const std::string& hostPath);
// The computers whose shares are mounted here (CIFS and NFS), normalised, each once;
// `unreadable`, when given, says whether the mount table could not be read.
std::vector<std::string> MountedNetworkHosts(bool* unreadable = nullptr);

}  // namespace host
