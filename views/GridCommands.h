#pragma once
// The commands of the grid windows' menus.

namespace grid_commands {

constexpr int kCmdExit = 30055;
constexpr int kCmdPrint = 30056;
constexpr int kCmdNext = 30061;
constexpr int kCmdPrevious = 30062;
constexpr int kCmdNextDay = 30077;
constexpr int kCmdPreviousDay = 30078;
constexpr int kCmdCurrent = 32850;
constexpr int kCmdWebPage = 32923;
constexpr int kCmdHelp = 57670;

}  // namespace grid_commands
