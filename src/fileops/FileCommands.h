#pragma once

#include "reports/ReportRows.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class TFoldInfo;
class UserInterface;

namespace FsOps {
class SystemCalls;
}

// The bulk file commands of the main window and the file viewer: trash, copy, move and
// zip of the nodes a person picked. Each command takes the nodes in the order given, goes
// on past a node that fails (the file operation has shown its alert then) and returns
// what was done and what failed; the windows only differ in the options below.
//
// The commands change files, never the scan tree: a caller hands Outcome::gone to
// takeOutOfTree (and drops those nodes from whatever lists it shows). Main thread only.
class FileCommands {
public:
    // What a zip does with a folder among the nodes.
    enum class ZipFolders {
        AsTheyAre,         // the folder goes in as one item (the file viewer)
        TheirFiles,        // every file beneath it goes in (the main window's reports)
        TheirFilesButApps, // the same, except that an application goes in as one item
    };

    struct Options {
        // Called for each node whose command failed. The main window clears the node's
        // check box there, so the next command does not take it again; without it (the
        // viewer) a failed node keeps its state.
        std::function<void(TFoldInfo*)> failed;
        ZipFolders zipFolders = ZipFolders::AsTheyAre;
        // The system calls the operations make; the real ones when null.
        FsOps::SystemCalls* systemCalls = nullptr;
    };

    struct Outcome {
        NodeList done;   // the nodes the command went through for, in the order given
        NodeList failed; // the others; their items are still at their place
        // The nodes whose items are no longer at their place on disk, which must leave the
        // scan tree: the done ones of a trash or a move, and the parts a failed one lost
        // on the way (a folder moved to another file system whose removal stopped half
        // way keeps what is left). Empty for a copy.
        NodeList gone;
    };

    explicit FileCommands(UserInterface* ui);
    FileCommands(UserInterface* ui, Options options);

    // Moves the nodes' items to the trash ("moveToTrashFileFromPath:" per node).
    Outcome trash(const NodeList& nodes);
    // The same, as the toolbar's delete button logs it ("removeFileFromPath:" per node).
    Outcome remove(const NodeList& nodes);
    // Copies the items into the folder; the tree does not change.
    Outcome copy(const NodeList& nodes, const QString& destination);
    // Moves the items into the folder.
    Outcome move(const NodeList& nodes, const QString& destination);
    // Packs the items into one new archive in the folder, named after the node when there
    // is only one (its name without the extension), otherwise "Archive". An archive that
    // cannot be made gets an alert. False when it was not made or there was nothing to pack.
    bool zip(const NodeList& nodes, const QString& destination);

    // The archive name a zip of the nodes asks for: the only node's name without its
    // extension; none (the writer's "Archive") for several.
    static std::optional<QByteArray> archiveNameFor(const NodeList& nodes);

    // Takes the nodes out of the scan tree, each with its totals, in order, and returns
    // those taken out. A root stays; a node that already left, or lies inside a node that
    // left (in this call or before), is passed over, since its size went with that one.
    static NodeList takeOutOfTree(const NodeList& nodes);

private:
    enum class Kind { Trash, Remove, Copy, Move };
    Outcome run(Kind kind, const NodeList& nodes, const QString& destination);

    UserInterface* ui_;
    Options options_;
};
