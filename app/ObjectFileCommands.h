#pragma once
// The commands that bring object files into the images and save them: Load (clear, then
// load), Load More (load over what is there), the data-flash load and save, and the save
// of the main image. The window shows the file dialog and calls these with the path.
#include <string>
#include <string_view>

#include "app/ImageViews.h"
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "images/ChipModel.h"

namespace qx {

struct ObjectFileContext {
  ChipModel& Model;
  MessageLog& Log;
  Operator& Op;  // also the load-offset dialog (AskBinaryOffset)
};

enum class ObjectFormat : u8 { IntelHex, SRecord, Binary, Unknown };

// By the file name's extension, in any letter case: ".HEX"; ".S19", ".S32", ".S37", ".MOT";
// ".BIN". Data-flash files do not take ".S37".
ObjectFormat ObjectFormatOf(std::string_view path);
ObjectFormat EepFileFormatOf(std::string_view path);

struct ObjectCommandResult {
  // False when the command stopped with a message and left the images, sums, ranges and
  // the loaded object as they were: a file that is not a regular file or cannot be read; a
  // HEX or S-record file with a damaged line (whichever button), with a count record that
  // disagrees, with no data for the chip, with Abort chosen on a record it cannot use or on
  // the box that asks about a missing end record; a load offset outside the chip; an unknown
  // data-flash extension.
  bool Done = false;
  WindowActions Actions;
};

// One of the commands below.
using ObjectFileCommand = ObjectCommandResult (*)(const ObjectFileContext& ctx, const std::string& path);

// Every object-file command needs a chosen chip; otherwise "Please select chip type
// first!". Asked before the file dialog.
bool ChipChosen(const ChipModel& model, Operator& op);

// Load: clears both images to the erased value, takes the file name, loads, and logs the
// path as loaded once the file was taken.
ObjectCommandResult OpenObjectFile(const ObjectFileContext& ctx, const std::string& path);
// Load More: loads over the images, and logs the path as Load does.
ObjectCommandResult LoadMoreObjectFile(const ObjectFileContext& ctx, const std::string& path);
// Reads the file by its extension into a copy of the model and takes it over only when it
// is not refused: a sound record the chip cannot use is skipped when the operator answers
// OK to its line box, a file without an end record is taken when the operator answers OK to
// the box that says it may be cut short. Then logs the range and sums and refreshes sums
// and views. ObjectLoaded is set only once the file was taken (an unknown extension clears
// it).
ObjectCommandResult LoadObjectFile(const ObjectFileContext& ctx, const std::string& path);

// Loads a data-flash file into EepImage (records of other windows go to their images,
// whose sums and views are refreshed too), staged like the object loads. For a chip
// without data flash it neither ticks "Erase Data Flash" nor shows the data-flash view.
ObjectCommandResult LoadEepDataFile(const ObjectFileContext& ctx, const std::string& path);
// EepImage[0 .. EepSize - 1] as a binary file, whatever filter was chosen.
void SaveEepDataFile(const ChipModel& model, const std::string& path);

// The save command runs only with a loaded object.
bool SaveMemoryAllowed(const ChipModel& model);
// The main window by the save dialog's filter index: 1 binary, 2 Intel HEX, 3 S-records;
// any other index writes nothing (returns false).
bool SaveMemoryToFile(const ChipModel& model, const std::string& path, int filterIndex);

}  // namespace qx
