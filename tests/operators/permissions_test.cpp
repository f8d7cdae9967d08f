#include "support/test_database.h"

#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/scripted_messenger.h"
#include "operators/permissions.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

QStringList visibleMenus(const Permissions::Gating& gating)
{
    QStringList names;
    for (const auto& m : gating.menus) {
        if (m.visible)
            names << m.objectName;
    }
    return names;
}

QStringList allActions()
{
    QStringList names;
    for (const auto& c : Permissions::commands())
        names << c.actionName;
    return names;
}

const QStringList kAllMenus = {"mnuFile", "mnuEdit", "mnuOutput", "mnuStat", "mnuData"};

} // namespace

TEST(Permissions, MenusShowByTheirGatedCommands)
{
    QStringList allCodes;
    for (const auto& c : Permissions::commands())
        allCodes << c.code;
    const QStringList allButData = allCodes.filter(QRegularExpression("^[1-4]"));
    const QStringList allButDataActions = allActions().filter(QRegularExpression("^Action[1-4]"));
    const struct {
        const char* operatorCode;
        QStringList granted;
        QStringList actions;
        QStringList menus;
    } cases[] = {
        {"007", {"305"}, {"Action305"}, {"mnuOutput"}},
        {"007", allButData, allButDataActions, {"mnuFile", "mnuEdit", "mnuOutput", "mnuStat"}},
        {"007", {"504"}, {"Action504"}, {"mnuData"}},
        {"007", {"414", "107", "999"}, {"Action107", "Action414"}, {"mnuFile", "mnuStat"}},
        {"007", {}, {}, {}},
        {"731", {}, allActions(), kAllMenus},
        {" 731 ", {}, allActions(), kAllMenus},
    };
    for (const auto& c : cases) {
        const auto gating = Permissions::compute(
            c.operatorCode, [&](const QString& code) { return c.granted.contains(code); });
        ASSERT_EQ(gating.actions.size(), 41);
        EXPECT_EQ(gating.visibleActions(), c.actions)
            << c.operatorCode << " " << c.granted.join(',').toStdString();
        EXPECT_EQ(visibleMenus(gating), c.menus)
            << c.operatorCode << " " << c.granted.join(',').toStdString();
    }
}

class PermissionsTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        data = std::make_unique<DataModule>(db(), messenger, config, home.path());
    }

    QTemporaryDir home;
    IniFile config;
    ScriptedMessenger messenger;
    std::unique_ptr<DataModule> data;
};

// The role editor offers the seeded permission items; they must be the commands gated here.
TEST_P(PermissionsTest, CommandsAreTheSeededPermissionItems)
{
    auto query = db().exec("select F_Code, F_Name from Limits order by F_Code");
    ASSERT_TRUE(query);
    QStringList seeded;
    while (query->next())
        seeded << query->value(0).toString() + ' ' + query->value(1).toString();
    QStringList gated;
    for (const auto& c : Permissions::commands()) {
        gated << c.code + ' ' + c.caption;
        EXPECT_EQ(c.actionName, "Action" + c.code);
        EXPECT_TRUE(kAllMenus.contains(c.menuName)) << c.code.toStdString();
    }
    EXPECT_EQ(gated, seeded);
}

TEST_P(PermissionsTest, LoginGatingReadsTheRolesPartLimitRows)
{
    for (const char* code : {"305", "501"})
        ASSERT_TRUE(
            db().insert("PartLimit", {{"F_PartCode", "R1"}, {"F_LmtCode", QString::fromLatin1(code)}}));
    ASSERT_TRUE(db().insert("PartLimit", {{"F_PartCode", "R2"}, {"F_LmtCode", "101"}}));

    data->login().operatorCode = "007";
    data->login().roleCode = "R1";
    auto gating = Permissions::forLogin(*data);
    EXPECT_EQ(gating.visibleActions(), QStringList({"Action305", "Action501"}));
    EXPECT_EQ(visibleMenus(gating), QStringList({"mnuOutput", "mnuData"}));

    data->login().roleCode = "R9";
    EXPECT_TRUE(Permissions::forLogin(*data).visibleActions().isEmpty());

    // The superuser needs no rows at all.
    ASSERT_TRUE(db().exec("delete from PartLimit"));
    data->login().operatorCode = "731";
    data->login().roleCode = "";
    gating = Permissions::forLogin(*data);
    EXPECT_EQ(gating.visibleActions(), allActions());
    EXPECT_EQ(visibleMenus(gating), kAllMenus);
    EXPECT_EQ(messenger.count(), 0);
}

INSTANTIATE_ENGINES(PermissionsTest);
