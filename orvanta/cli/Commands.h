#pragma once

namespace orv::cli {

class CliContext;

// One function per command; each lives in its own file.
int runEncipher(CliContext& c);
int runCheckConnection(CliContext& c);
int runGenerate(CliContext& c);
int runAudit(CliContext& c);
int runDownload(CliContext& c);
int runUser(CliContext& c);
int runReport(CliContext& c);

} // namespace orv::cli
