#pragma once

#include <QString>

struct CodeTreeNode;

// What an edit of a code tree came to.
struct TreeEditResult {
    enum Status {
        Done,      // written, and the tree changed with it
        Unchanged, // nothing needed writing
        Refused,   // the input or the tree does not allow it; `message` tells the user why
        Failed,    // the database failed; `message` holds its reason, nothing was written
    };

    Status status = Failed;
    QString message;
    QString code;                 // the code found or given to a new node
    CodeTreeNode* node = nullptr; // the node added or renamed

    bool ok() const { return status == Done || status == Unchanged; }

    static TreeEditResult refused(const QString& why) { return {Refused, why, {}, nullptr}; }
    static TreeEditResult failed(const QString& why) { return {Failed, why, {}, nullptr}; }
};
