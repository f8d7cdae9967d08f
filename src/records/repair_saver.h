#pragma once

#include "records/repair_edit_mode.h"
#include "records/repair_form.h"

#include <QString>

class DataModule;
class RecordSet;

// What the repair order editors' "确定" checks and writes. A failed check tells the user
// (through the messenger) and stops with nothing written. Then one transaction writes the
// repair and its cached parts lines:
//   - a new repair takes the code shown, or silently the next free one when another
//     workstation took it meanwhile; its parts lines carry the code it was stored under;
//   - the parts charge is the sum of the lines' amounts (0 without lines), and the total
//     charge the parts charge plus the service fee.
// On any failure the transaction rolls back, the parts keep their cached edits and the window
// keeps its input.
class RepairSaver {
public:
    struct Context {
        RepairEditMode mode = RepairEditMode::New;
        // The management window's editor insists on a service category.
        bool serviceTypeRequired = false;
        // Edit: the repair being changed.
        qint64 repairId = 0;
    };
    enum class Outcome { Saved, Refused, Failed };
    // The control to focus after a refusal.
    enum class Field { None, RepairCode, ServiceType };
    struct Result {
        Outcome outcome = Outcome::Failed;
        Field focus = Field::None;
        QString code; // the repair code it was stored under
        qint64 id = 0;
    };

    explicit RepairSaver(DataModule& data);

    // `form` holds the window's values; on success it holds what was stored (trimmed text, the
    // final code, the computed charges). `parts` are the repair's cached lines, or null.
    Result save(const Context& context, RepairForm& form, RecordSet* parts);

    static QString codeMissingMessage() { return QStringLiteral("当前维修单号不能为空！"); }
    static QString serviceTypeMissingMessage() { return QStringLiteral("当前维修服务类别不能为空！"); }
    static QString saveFailedMessage() { return QStringLiteral("保存失败，请检测数据库连接！"); }

    // The query whose greatest code the next repair code follows, and the code's width.
    static QString maxCodeQuery() { return QStringLiteral("select max(F_WXcode) from t_WXrec"); }
    static constexpr int codeWidth = 8;

private:
    bool write(const Context& context, RepairForm& form, RecordSet* parts, const QString& code, qint64* id,
               QString* error);

    DataModule& m_data;
};
