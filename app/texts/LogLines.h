#pragma once
// The lines of the repair log: what the program found and did, in words.
#include <cstdint>
#include <string>
#include <vector>

#include "discovery/survey/MachineSurvey.h"
#include "platform/threads/Clock.h"
#include "platform/files/FileIdentities.h"
#include "platform/shell/MessageBoxes.h"
#include "repair/run/RepairPlan.h"
#include "repair/run/RepairRun.h"

namespace orvanta {

using LogLines = std::vector<std::string>;

// The lines as a file or a console takes them: each ended by CRLF.
std::string WithCrLf(const LogLines& lines);

// Adds the text's lines (ended by LF or CRLF), each after `indent`.
void Indented(LogLines& lines, const std::string& text, const std::string& indent);

// "2026-12-07 15:31:02" and "15:31:02.120".
std::string DateTimeText(const LocalTime& time);
std::string TimeOfDayText(const LocalTime& time);
// "Orvanta-20261207-153102.log", one name per start.
std::string LogFileName(const LocalTime& time, int attempt);

struct ProgramFacts {
    std::string version;      // "1.0"
    std::string architecture; // "x64"
    std::string windows;      // "10.0.19045"
    bool elevated = false;
};

LogLines StartLines(const LocalTime& time, const ProgramFacts& program);
// The drives, the installations, the firmware and the ESP with its letter.
LogLines SurveyLines(const MachineSurvey& survey, const std::string& systemPartitionLetter, bool letterGiven);
LogLines PlanLines(const LocalTime& time, const RepairPlan& plan);
// "版本：10.0.26100.1，数字签名：有效，来自 Microsoft（Microsoft Windows）": what the system says of a file.
std::string FileIdentityText(const FileIdentity& file);
// The command line, and who made the program it starts.
LogLines ToolStartLines(const LocalTime& time, const std::string& commandLine, const std::string& programPath,
                        const FileIdentity& program);
LogLines ToolEndLines(const ToolRun& run);
LogLines StoreLines(const StoreEvent& event);
// An old store's entries, read before the tools run.
LogLines OldStoreLines(const std::string& path, const StoreListing& listing);
LogLines SkippedToolLines(const std::string& commandLine, const std::string& version);
// Why a second bcdboot runs for the installation: Bin's failed.
LogLines OwnBcdbootLines(const std::string& installation);
LogLines MessageLines(const LocalTime& time, const Message& message);
LogLines ReportLines(const LocalTime& time, const RepairReport& report);

} // namespace orvanta
