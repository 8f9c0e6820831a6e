// The simulated disk as a person at the open panel sees it: `ls [PATH]`, and the folder that a
// name typed at `ls` or `panel choose` is taken from.
#pragma once

#include <string>

namespace tidra::sim {

class Frontend;
class Mac;

// `ls [PATH]`.
void addFolderCommands(Frontend& frontend);
// The folder the open panel shows while one is open (the home folder when it names none), else
// the home folder: a Mac path.
std::string currentFolder(Mac& mac);
// The Mac path a typed name stands for: as it is when it begins with "/" or "~", else taken from
// the current folder.
std::string typedMacPath(Mac& mac, const std::string& typed);

}  // namespace tidra::sim
