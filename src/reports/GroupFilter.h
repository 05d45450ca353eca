#pragma once

#include "reports/ReportRows.h"

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// A type-catalog group as a filter: a file passes when its extension (sExt), lower-cased,
// equals one of the group's extensions, lower-cased when the group is made. A file without
// an extension has the extension "Unknown". Folders (application bundles included) have no
// extension and never pass.
class GroupFilter {
public:
    GroupFilter() = default; // takes nothing
    explicit GroupFilter(const QStringList& extensions);

    bool matches(const TFoldInfo& node) const;
    const std::vector<std::string>& extensions() const { return extensions_; } // lower-case UTF-8
    bool isEmpty() const { return extensions_.empty(); }

private:
    std::vector<std::string> extensions_;
    std::unordered_set<std::string> lookup_;
};

// The lower-cased extension of a file as UTF-8 bytes ("unknown" for a file without one),
// the key the group filters compare. Folders give false.
bool lowerCaseExtensionKey(const TFoldInfo& node, std::string& out);

// Which of several groups, tried in order, first takes a file: one hash look-up per file
// instead of one test per group. Gives the same answer as testing the groups' filters one
// after the other.
class ExtensionIndex {
public:
    // Adds group `group` (its index in the caller's order); an extension already claimed by
    // an earlier group stays with it.
    void add(const GroupFilter& filter, int group);
    // The first group that takes the node, or -1.
    int groupOf(const TFoldInfo& node) const;

private:
    std::unordered_map<std::string, int> groups_;
};
