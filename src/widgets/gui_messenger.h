#pragma once

#include "data/messenger.h"

class QWidget;

// Message boxes for the running program; questions answer 1 (是) or 2 (否).
class GuiMessenger final : public Messenger {
public:
    int show(const QString& text, Kind kind) override;
};
