#pragma once

#include "sqcfile.h"

#include <QString>

#include <optional>

class HostLink;
class HxSequence;
class QWidget;

// Reading and writing a sequence's legacy file the way the plug-in does it:
// any failure ends in a warning box that names the problem and the file.

inline const QString LoadingSequenceCaption = QStringLiteral("Loading Sequence...");
inline const QString SavingSequenceCaption = QStringLiteral("Saving Sequence...");

// Reads a legacy sequence file; on failure shows the error box with caption
// "Loading Sequence..." and returns nothing.
std::optional<SqcFile> loadLegacySequence(const HostLink &link, QWidget *parent,
                                          const QString &fileName);

// Writes `sequence` to `fileName` (instrument and sequence name into the
// header, `databasePath` as the project text) and its ".sqm" companion,
// creating `folder` with its parents first. The companion's places are put
// under the name of `folder`. On failure no ".sqc" is left at `fileName`,
// the error box with caption "Saving Sequence..." is shown and the result
// is false.
bool saveLegacySequence(const HostLink &link, const QString &fileName,
                        const QString &instrumentName, const QString &sequenceName,
                        const QString &folder, const HxSequence &sequence,
                        const QString &databasePath);

// The same without the box: false with the box's text in `errorMessage`.
[[nodiscard]] bool writeLegacySequence(const QString &fileName, const QString &instrumentName,
                                       const QString &sequenceName, const QString &folder,
                                       const HxSequence &sequence, const QString &databasePath,
                                       QString *errorMessage = nullptr);

// The warning box of a failed read or write: `message` is the "<error
// text>: <file name>" of SqcFile::errorString().
void showLegacySequenceError(const HostLink &link, QWidget *parent, const QString &caption,
                             const QString &message);

// Where a project keeps the legacy copy of a sequence:
// "<project>/Sequences/<title>" and "<title>.sqc" in it ("untitled.sqc" for
// a sequence without a title).
QString legacySequenceFolder(const QString &projectDirectory, const QString &title);
QString legacySequenceFileName(const QString &projectDirectory, const QString &title);
