// The subcommands of kvtool and the helpers they share. Each command receives its own
// arguments (argv[0] is the command name), prints to stdout in UTF-8 and returns the exit
// status: 0 on success, 1 after one line on stderr.
#pragma once

#include <string>
#include <string_view>

#include "lang/translate.h"
#include "model/figure.h"

namespace kv::cli {

int RecomputeCommand(int argc, char** argv);
int ReportCommand(int argc, char** argv);
int MergeCommand(int argc, char** argv);
int InfoCommand(int argc, char** argv);
int MakeSamplesCommand(int argc, char** argv);
// Exit status 2 (not 1) when the script itself is at fault.
int PlayCommand(int argc, char** argv);
int HtmlCommand(int argc, char** argv);
int CoordsCommand(int argc, char** argv);
#ifdef KV_WITH_QTGUI
int RenderCommand(int argc, char** argv);
#endif

// Prints "kvtool: message" on stderr and returns 1.
int Fail(std::string_view message);
// Reads a figure file into fig (mode "R") without recomputing it. False with a message
// (English) when the file cannot be read; fig is then left as it was.
bool ReadFigureFile(const std::string& path, Figure& fig, std::string& error,
                    const Translator* labels = nullptr);
// Reads a figure file into fig (mode "R") and recomputes it once, labelling its objects in the
// language of `labels` (Japanese when null). False with a message (English) when the file
// cannot be read.
bool LoadFigure(const std::string& path, Figure& fig, std::string& error,
                const Translator* labels = nullptr);
// Writes fig to path (mode "W"). False with a message (English) on failure.
bool SaveFigure(Figure& fig, const std::string& path, std::string& error);

}  // namespace kv::cli
