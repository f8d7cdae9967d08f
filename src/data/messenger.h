#pragma once

#include <QString>

// Every message to the user goes through one messenger. Kinds: 0 information, 1 question
// (answer 1 yes, 2 no), 2 warning, 3 error.
class Messenger {
public:
    enum Kind { Info = 0, Question = 1, Warning = 2, Error = 3 };
    enum Answer { Yes = 1, No = 2 };

    virtual ~Messenger() = default;

    // Shows the text and waits; for a question the result is 1 or 2, otherwise 0.
    virtual int show(const QString& text, Kind kind) = 0;

    void info(const QString& text) { show(text, Info); }
    bool ask(const QString& text) { return show(text, Question) == Yes; }
    void warning(const QString& text) { show(text, Warning); }
    void error(const QString& text) { show(text, Error); }
};
