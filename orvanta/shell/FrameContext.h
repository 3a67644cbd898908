#pragma once

namespace orv {

class DataCon;
class IniFile;
struct Session;

// What every work frame and dialog of the main program borrows from it.
struct FrameContext {
    DataCon& db;
    Session& session;
    IniFile& ini; // the settings file (Inif)
};

} // namespace orv
