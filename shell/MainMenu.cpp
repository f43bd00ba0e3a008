#include "shell/MainMenu.h"

#include "platform/ui/Menu.h"
#include "shell/SettingsFile.h"

#include <vector>

using ui::Item;
using ui::Popup;
using ui::Separator;

namespace {

using R = MenuRule;

// id, rule, level, built
const std::vector<stMenuCommand> kCommands = {
    {57601, R::Always, 0, true},  {57602, R::Always, 0, true},   {32911, R::Level, 1, true},
    {30003, R::Level, 5, true},  {30000, R::Level, 5, true},   {30001, R::Always, 0, true},
    {30014, R::Always, 0, true}, {30090, R::Level, 9, true},   {30092, R::NoOpenFile, 0, true},
    {57600, R::NoOpenFile, 0, true}, {57665, R::Always, 0, true}, {32942, R::Always, 0, true},
    {32862, R::Level, 9, true},  {30032, R::LevelSingle, 10, true}, {30041, R::Level, 9, true},
    {32891, R::Level, 9, true},  {32892, R::Level, 9, true},   {32870, R::Level, 9, true},
    {32868, R::Level, 9, true},  {32869, R::Level, 9, true},   {30085, R::Level, 9, true},
    {30086, R::Level, 9, true},  {30082, R::Level, 9, true},   {30105, R::Level, 9, true},
    {30104, R::Level, 9, true},  {32929, R::Level, 9, true},   {32940, R::Level, 9, true},
    {32941, R::Level, 9, true},  {30037, R::Level, 9, true},   {30050, R::Level, 9, true},
    {30069, R::Level, 9, true},   {30070, R::Level, 9, true},   {30088, R::Level, 9, true},
    {30035, R::Level, 5, true},  {30053, R::Level, 5, true},   {30052, R::Level, 5, true},
    {30054, R::Level, 5, true},  {30068, R::Level, 5, true},   {30076, R::Level, 5, true},
    {30080, R::Level, 5, true},  {30058, R::Level, 5, true},   {32922, R::Level, 5, true},
    {30071, R::Level, 5, true},  {32897, R::Level, 5, true},   {32888, R::Level, 8, true},
    {32916, R::Level, 8, true},  {30072, R::Level, 9, true},   {32878, R::Level, 9, true},
    {30073, R::Level, 9, true},  {32875, R::Level, 9, true},   {30074, R::Level, 9, true},
    {30081, R::Level, 9, true},  {30087, R::Level, 9, true},   {30100, R::Level, 9, true},
    {32909, R::Level, 9, true},  {30089, R::Level, 5, true},   {30102, R::Level, 9, true},
    {32899, R::Level, 5, true},  {32943, R::Level, 5, true},   {32879, R::Level, 9, true},
    {30097, R::Level, 9, true},   {32845, R::Level, 9, true},   {32877, R::Level, 9, true},
    {30101, R::Level, 7, true},  {32860, R::Level, 7, true},   {32880, R::Level, 9, true},
    {32881, R::Level, 9, true},  {32910, R::Level, 9, true},   {30084, R::Level, 9, true},
    {32908, R::Level, 5, true},  {32884, R::Level, 9, true},   {32885, R::Level, 7, true},
    {32886, R::Always, 0, true}, {30063, R::Level, 5, true},   {32846, R::Level, 8, true},
    {32890, R::Level, 5, true},  {30096, R::Level, 9, false},   {30099, R::Level, 9, false},
    {32924, R::Always, 0, true}, {32935, R::LevelSingle, 9, true}, {32893, R::LevelSingle, 10, true},
    {32927, R::Level, 9, true},  {32930, R::Level, 9, true},   {32928, R::Level, 9, true},
    {32931, R::Always, 0, true}, {30013, R::Level, 9, true},   {30008, R::Level, 9, true},
    {30017, R::LevelSingle, 9, true}, {30016, R::LevelSingle, 9, true}, {30007, R::LevelSingle, 9, true},
    {30015, R::LevelSingle, 9, true}, {30002, R::Level, 5, true}, {32841, R::NoDatabase, 0, false},
    {33228, R::NoDatabase, 0, true}, {33230, R::NoDatabase, 0, true}, {33232, R::NoDatabase, 0, true},
    {33223, R::NoDatabase, 0, true}, {32939, R::NoDatabase, 0, true}, {33240, R::NoDatabase, 0, true},
    {32944, R::Always, 0, true}, {32894, R::LevelSingle, 10, true}, {59393, R::Always, 0, false},
    {30030, R::Checked, 0, true}, {32925, R::Level, 1, true},    {30029, R::Level, 5, true},
    {30009, R::Always, 0, true},  {30012, R::Always, 0, true},   {30026, R::Always, 0, true},
    {30113, R::Always, 0, true},  {57667, R::Always, 0, true},   {57664, R::Always, 0, true},
    // Headings without a handler.
    {30010, R::Always, 0, false}, {32936, R::Always, 0, false}, {33233, R::Always, 0, false},
    {32933, R::Always, 0, false},
};

const ui::MenuTemplate& Menu104()
{
    static const ui::MenuTemplate menu = {104, {
        Popup("&File", {
            Item(57601, "&Open..."), Item(57602, "&Close"), Item(32911, "&Switch users/Lock DB"),
            Item(30003, "re&Fresh\tCtrl+R"), Separator(), Item(30000, "&Backup\tCtrl+B",
                 "Make packed database file and copy it from your hard disk to a floppy disk"),
            Popup("&Restore from", {
                Item(30001, "&Diskette", "Replace current database with one previously backed up to diskette."),
                Item(30014, "&Backup file",
                     "Replace current database with one previously backed up to file on hard disk"),
            }),
            Popup("&Archive", {Item(30090, "&Create", "Create an archive file"),
                               Item(30092, "&Recall", "Recall a previously created archive file")}),
            Item(57600, "&New", "Create new studio database"),
            Item(32942, "&Program backup", "Make backup copy of Dorvalquintex program"), Separator(), Item(57665, "E&xit"),
        }),
        Popup("&Setup", {
            Item(32862, "&Studio data"), Item(30032, "&User list"), Item(30041, "&Teacher/employee list"),
            Popup("&Categories", {
                Popup("&Basic dance activity types", {Item(32891, "Schedule by &person"),
                                                      Item(32892, "Schedule by &studio")}),
                Item(32870, "&Merchandise"), Item(32868, "&Departments"), Item(32869, "&Contract types"),
                Item(30085, "&Program types"), Item(30086, "&Interview sources"),
                Item(30082, "Mail-&list categories"),
                Popup("&Accounts", {Item(30105, "&Accounts"), Item(32929, "&Default accounts")}),
                Item(30104, "&Tax"), Item(32940, "de&Fault categories"), Item(32941, "&Show all"),
            }),
            Item(30037, "price &List"), Item(30050, "Pac&kage list"),
            Item(30069, "&Invoice/contract/receipt templates"), Item(30070, "&Ballrooms"),
            Item(30088, "C&onfigure"),
        }),
        Popup("&Database", {
            Item(30035, "&Students"), Item(30053, "&Purchases"), Item(30052, "Pa&yments"),
            Item(30054, "S&chedulable items"), Item(30068, "&Interviews"),
            Item(30076, "s&Tudent sign-in"),
        }),
        Popup("&Reports", {
            Popup("&Schedule", {Item(30080, "Daily &teacher schedule", "Show daily schedule"), Item(30058, "&Weekly studio schedule", "View weekly studio schedule"),
                                Item(32922, "Weekly &classes"),
                                Popup("&Room schedule", {Item(30071, "&Weekly", "View room schedule for week"),
                                                         Item(32897, "&Daily", "View room schedule for day")})}),
            Popup("&Financial", {
                Popup("&Daily balance", {Item(32888, "&Table"), Item(32916, "&Grid")}),
                Item(30072, "A&ll purchases"), Item(32878, "&Merchandise purchases"),
                Item(30073, "&Payments received"), Item(32875, "&Summary of payments received"),
                Item(30074, "Payments &made"),
                Item(30081, "&Balance due"), Item(30087, "&Tax report"),
                Item(30100, "&Account activity", "Report on payments made to and from accounts"),
            }),
            Popup("&Activities", {
                Item(32909, "&Lessons taught in period"), Item(30089, "&Student most recent activity"),
                Item(30102, "&Teacher most recent activity"), Item(32899, "student &Count for studio activities"),
                Item(32943, "&Roster for selected studio activity"), Item(32879, "&Breakdown by hour"),
            }),
            Popup("&Performance", {
                Item(30097, "&Teacher performance", "Show report on teacher interviews, sales, etc."),
                Item(32845, "&Student performance", "Show report on supervisor interviews, sales, etc."),
                Item(32877, "&Enrollment"), Item(30101, "&Advertising"), Item(32860, "&Programs"),
                Item(32880, "&Departments"), Item(32881, "&Contract types"),
                Item(32910, "&Breakdown of sale items", "Report count of sale items for period"),
            }),
            Popup("&Obligations", {Item(30084, "&All obligations"), Item(32908, "&Missed appointments")}),
            Popup("&Weekly summary", {Item(32884, "Do weekly summary", "Overall summary of weekly activity"),
                                      Item(32885, "&Email weekly report", "Email weekly report to headquarters"),
                                      Item(32886, "&Merge weekly reports", "Merge weekly report files into combined report")}),
        }),
        Popup("&Miscellaneous", {
            Item(30063, "&Student mail list"), Item(32846, "&Teacher mail list"),
            Item(32890, "&Check-in by students"), Item(30096, "Reset &active flags"),
            Item(30099, "&Purge by recent activity"), Item(32924, "&Web page view"),
            Popup("&Export/import", {
                Item(32935, "&Student and contract import", "Import students in Dorvalquintex format"), Item(33233, "IIF files"),
                Item(32893, "&Import IIF file", "Import an Intuit IIF format file"), Item(32927, "Export &students to IIF", "Export student IIF file"),
                Item(32930, "Export &employees to IIF", "Export teacher/employee IIF file"), Item(32928, "Export &transactions to IIF", "Export transaction IIF file"),
                Item(32931, "&View IIF file", "Select and view  IIF file"),
            }),
            Popup("&Deleted data", {Item(30013, "&Report on deleted data"), Item(30008, "&Clear deleted data")}),
            Popup("&Integrity tests", {
                Item(30017, "&Database linked list"), Item(30016, "&Repair linked list"),
                Item(30007, "&Table references"), Item(30015, "&Correct table references"),
            }),
            Item(30002, "&Log diagnostic data"),
            Popup("diagnostic and &repair functions", {
                Item(32933, "Without a database open:"), Item(32841, "&View database structure"),
                Item(33228, "&Repair database linked list", "Repair database linked list by testing and updating headers"), Item(33230, "&Analyze and reconstruct",
                     "Analyze database linked list structure and reconstruct database"),
                Item(33232, "Change file &format version", "Change the file format version in a file header"), Item(33223, "Un&pack compressed file", "Unpack compressed file"),
                Item(32939, "&Unpack backup"), Item(33240, "Restore from &backup file", "Restore from a backup file"),
            }),
            Item(32944, "Dump contract"), Item(32894, "&Alphabetize student list"),
        }),
        Popup("&View", {
            Item(59393, "status &Bar"), Item(30030, "status &Panes", "Expand status panes in status bar"), Item(32925, "&Users"),
            Item(30029, "&Database"),
        }),
        Popup("&Help", {
            Item(30010, "Help topics"), Item(30009, "&Getting started"), Item(30012, "&Contents"),
            Item(30026, "&Main window"), Item(30113, "&Frequently asked questions"),
            Item(57667, "&Table of contents"), Item(32936, "-"), Item(57664, "&About Dorvalquintex..."),
        }),
    }};
    return menu;
}

}  // namespace

void RegisterMainMenu() { ui::RegisterMenu(Menu104()); }

const stMenuCommand* FindMainMenuCommand(int id)
{
    for (const stMenuCommand& c : kCommands)
        if (c.id == id) return &c;
    return nullptr;
}

bool IsLauncherButtonBuilt(int k)
{
    // The menu command of each button; 0 where the button's work has no menu command and is built
    // (exit, help, F10 new person, F11 purchase or shopping cart, F12 payment entry), -1 where it
    // is not built yet.
    static const int kButtonCommands[16] = {0,     0,     30035, 30053, 30052, 30054, 30068, 30041,
                                            30076, 0,     0,     0,     30080, 30058, 32897, 30063};
    if (k < 0 || k >= 16) return false;
    const int id = kButtonCommands[k];
    if (id == 0) return true;
    if (id < 0) return false;
    const stMenuCommand* c = FindMainMenuCommand(id);
    return c && c->built;
}
