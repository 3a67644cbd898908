#pragma once

#include <QString>

namespace orv {

// What the running program knows about itself and its user: the settings
// file, the installed version, and the login state written by the login.
struct Session {
    QString IniName;        // full path of System_Control.ini
    QString currentversion; // [upControl] version
    QString apps;           // [upControl] Upname: file name of the updater
    QString con_stat;       // "ok" once the connection is up
    QString server;         // deciphered server: "localhost" means a local server
    QString userid;         // end_userid of the logged-in user
    QString officeid;       // officeid of the logged-in user
    QString pid;            // server process id of the program's own connection
};

} // namespace orv
