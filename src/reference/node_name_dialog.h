#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class DataModule;

namespace Ui {
class NodeNameDialog;
}

// Asks for the name of a tree node. With the caption "类型名称" (the goods catalogue's change
// of type) a button beside the box picks a goods type and puts its path into the box.
class NodeNameDialog : public QDialog {
    Q_OBJECT
public:
    // Returns the reason a name is refused, or empty text when it is fine.
    using NameCheck = std::function<QString(const QString& name)>;

    NodeNameDialog(DataModule& data, const QString& caption, QWidget* parent = nullptr);
    ~NodeNameDialog() override;

    void setName(const QString& name);
    // As typed; blank names never get through "确定".
    QString name() const;
    // A further check run by "确定" after the blank test.
    void setNameCheck(NameCheck check) { m_check = std::move(check); }

    // The name typed, or empty text when cancelled.
    static QString enterCaption(DataModule& data, const QString& caption, const QString& initial = {},
                                QWidget* parent = nullptr, NameCheck check = {});

    static QString typeNameCaption() { return QStringLiteral("类型名称"); }

private:
    void confirm();
    void pickType();

    std::unique_ptr<Ui::NodeNameDialog> m_ui;
    DataModule& m_data;
    NameCheck m_check;
};
