#pragma once
// The event log: a plain text file of game events ("EVENT: <text>" per line) and the
// collected-statistics counters that go with it. Nothing opens the log in a normal run; a
// test or a tool opens it to watch what happened (the game opens the file named by
// VAULTMERE_EVENT_LOG at start-up). While it is closed, events and collected statistics are
// dropped.
#include <cstdint>
#include <map>
#include <string>

// Opens (truncating) the log file; false with a diagnostic when it cannot be created. An
// open log is closed first. The collected statistics start empty.
bool OpenEventLog(const std::string& path);
// Closes the log and forgets the collected statistics.
void CloseEventLog();
bool IsEventLogOpen();

// Writes "EVENT: <text>\n" and flushes; nothing while no log is open.
void LogEvent(const char* text);
// Adds the amount to the named counter (a new name starts at 0); nothing while no log is open.
void AddCollectedStat(const char* name, int32_t amount);
// The named counter, 0 when unknown.
int32_t GetCollectedStat(const std::string& name);
const std::map<std::string, int32_t>& CollectedStats();
