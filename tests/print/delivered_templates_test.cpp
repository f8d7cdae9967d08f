#include "support/test_database.h"

#include "data/record_set.h"
#include "print/prepared_report.h"
#include "print/report.h"
#include "print/report_template.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace {

QString qrFolder()
{
    return QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + QStringLiteral("/../../Qr");
}

// The field names each delivered template reads: the columns of the query each window ties
// (written here in portable SQL; the windows build them from their filters).
struct Case {
    const char* file;
    QList<QPair<const char*, const char*>> sources; // name, SQL
    QStringList captions;                           // objects the printing window sets
    const char* expected;                           // a text the filled template must show
};

const char* kClient = "select * from t_client order by F_code";

QList<Case> cases()
{
    const char* goodsOfOrder = "select * from t_HPrec where F_code = '00000001' order by F_ID";
    const char* visitsOfOrder = "select * from t_HFrec where F_code = '00000001' order by F_ID";
    const char* repairsOfOrder = "select * from t_WXrec where F_code = '00000001' order by F_ID";
    const QList<QPair<const char*, const char*>> main{{"frMain", kClient},
                                                      {"frDetail1", goodsOfOrder},
                                                      {"frDetail2", visitsOfOrder},
                                                      {"frDetail3", repairsOfOrder}};
    return {
        {"frAZSHdetail.frf", main, {}, "张三"},
        {"frAZSHlist.frf", main, {}, "李四"},
        {"frAZSHbill.frf", main, {}, "海尔冰箱"},
        {"frSHWXbill.frf", main, {}, "制冷效果差"},
        {"frGoodMan.frf", {{"frDBDataSet1", "select * from t_goods"}}, {}, "海尔冰箱"},
        {"frWXrecMan.frf", {{"frDBDataSet1", "select * from v_WXrec"}}, {"MemoDate"}, "WX000001"},
        {"frWXrecMan1.frf", {{"frDBDataSet1", "select * from v_WXrec"}}, {}, "制冷效果差"},
        {"frBYdetailTj.frf",
         {{"frDBDataSet1", "select c.*, 3 as F_num from t_client c"}},
         {"MemoDate"},
         "张三"},
        {"frKCHPdetailTJ.frf",
         {{"frDBDataSet1",
           "select F_code, F_name, F_type, F_spec, F_address, F_unit, F_price1, F_price2, F_amount, "
           "F_amount * F_price2 as F_totalprice, 0.0 as F_begin, 0.0 as F_beginPrice, "
           "5.0 as F_enter, 1.0 as F_out, 2.0 as F_sale, 6000.0 as F_salePrice, 0.0 as F_rate "
           "from t_goods"}},
         {},
         "海尔冰箱"},
        {"frHpJTHdetailTJ.frf",
         {{"frDBDataSet1",
           "select g.F_code, g.F_name, g.F_type, g.F_spec, g.F_pinPai, g.F_address, g.F_unit, "
           "g.F_price1, g.F_price2, j.F_editDate, j.F_amount, j.F_amount * j.F_price2 as F_totalprice, "
           "1 as F_flag from t_goodJHrec j left join t_goods g on g.F_code = j.F_GoodCode"}},
         {},
         "进货"},
        {"frWXtotalTj.frf",
         {{"frDBDataSet1",
           "select F_FWtype, F_bxFlag, F_WXstatus, F_FWemp, F_reasonFlag, "
           "sum(F_PJtotalprice) as F_PJtotalprice, sum(F_FWtotalprice) as F_FWtotalPrice, "
           "sum(F_SFtotalprice) as F_SFtotalprice, sum(F_XZprice) as F_XZprice, F_XZemp from v_WXrec "
           "group by F_FWtype, F_bxFlag, F_WXstatus, F_FWemp, F_reasonFlag, F_XZemp"}},
         {"MemoDate"},
         "上门维修"},
        {"frWXdetailTj.frf", {{"frDBDataSet1", "select * from v_WXrec"}}, {"MemoDate"}, "制冷效果差"},
        {"fritemdetailTj.frf",
         {{"frDBDataSet1",
           "select c.F_client, c.F_phone, c.F_movePhone, c.F_address, c.F_area, c.F_buyAddress, "
           "c.F_buyDate, c.F_setupDate, h.F_HFdate, h.F_HFitem1, h.F_HFitem2, h.F_HFitem3, "
           "h.F_HFitem4, h.F_HFitem5, h.F_HFprice1, h.F_HFprice2, h.F_HFprice3, h.F_HFprice4, "
           "h.F_HFprice5, h.F_HFtotalPrice, h.F_HFemp, h.F_memo1, h.F_memo2, h.F_memo3 "
           "from t_HFrec h left join t_client c on c.F_code = h.F_code"}},
         {"MemoDate"},
         "上门费：30.00"},
        {"frFWitemTotalTj.frf",
         {{"frDBDataSet1", "select F_HFitem1 as F_HFitem, F_HFprice1 as F_HFprice from t_HFrec"}},
         {"MemoDate"},
         "上门费"},
        {"frSPdetailTj.frf",
         {{"frDBDataSet1",
           "select h.F_HPcode, h.F_HPname, h.F_type, h.F_pinPai, h.F_spec, h.F_unit, h.F_amount, "
           "h.F_price, h.F_totalprice, h.F_FPcode, h.F_TMcode, c.F_client, c.F_phone, c.F_movePhone, "
           "c.F_address, c.F_area, c.F_buyAddress, c.F_buyDate, c.F_setupDate, c.F_PGemp, c.F_FWemp, "
           "c.F_FWprice, c.F_status, c.F_FWtype, c.F_XSemp, c.F_setupPOS "
           "from t_HPrec h left join t_client c on c.F_code = h.F_code"}},
         {"MemoDate"},
         "海尔冰箱"},
        {"frSPtotalTj.frf",
         {{"frDBDataSet1",
           "select h.F_HPcode, h.F_HPname, h.F_type, h.F_spec, h.F_pinPai, h.F_address, h.F_unit, "
           "sum(h.F_amount) as F_amount, sum(h.F_totalprice) as F_totalprice, c.F_buyAddress, "
           "c.F_FWtype, c.F_status, c.F_FWemp, c.F_XSemp, c.F_setupPOS "
           "from t_HPrec h left join t_client c on c.F_code = h.F_code group by h.F_HPcode, "
           "h.F_HPname, h.F_type, h.F_spec, h.F_pinPai, h.F_address, h.F_unit, c.F_buyAddress, "
           "c.F_FWtype, c.F_status, c.F_FWemp, c.F_XSemp, c.F_setupPOS"}},
         {"MemoDate"},
         "海尔冰箱"},
        {"frHFdetailTj.frf",
         {{"frDBDataSet1", "select h.F_HFdate, h.F_memo1, h.F_memo2, h.F_HFemp, c.F_client, c.F_phone, "
                           "c.F_movePhone, c.F_area, c.F_address, c.F_buyAddress, c.F_FWemp "
                           "from t_HFrec h left join t_client c on h.F_code = c.F_code"}},
         {"MemoDate"},
         "顾客满意"},
        {"frAZGtotalTj.frf",
         {{"frDBDataSet1", "select F_FWemp, sum(F_FWprice) as F_XZprice, count(*) as F_count from t_client "
                           "group by F_FWemp order by F_FWemp"}},
         {"MemoDate"},
         "王师傅"},
        {"frAZGdetailTJ.frf",
         {{"frDBDataSet1",
           "select c.F_code, c.F_FWemp, c.F_FWtaidu, c.F_setupDate as F_FWdate, "
           "c.F_FWprice as F_xzPrice, c.F_client, c.F_phone, c.F_movePhone, c.F_area, c.F_address, "
           "c.F_buyAddress, c.F_setupPOS from t_client c order by c.F_code"}},
         {"MemoDate"},
         "王师傅"},
        {"frAwokeFx.frf", {{"frDBDataSet1", "select c.*, 2 as F_num from t_client c"}}, {}, "张三"},
        {"frAwokeFx1.frf", {{"frDBDataSet2", "select w.*, 1 as F_num from v_WXrec w"}}, {}, "WX000001"},
        {"frAwokeFx2.frf", {{"frDBDataSet2", "select c.*, 6 as F_num from t_client c"}}, {}, "张三"},
        {"frStatFx.frf",
         {{"frDBDataSet1", "select F_FWtype as F_name, count(*) as F_num from t_client group by F_FWtype"}},
         {"Memo1", "Memo2"},
         "送货安装"},
    };
}

} // namespace

class DeliveredTemplatesTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        const QDate bought(2024, 5, 3);
        ASSERT_TRUE(db().insert("t_client", {{"F_code", "00000001"},
                                             {"F_client", "张三"},
                                             {"F_phone", "010-62345678"},
                                             {"F_movePhone", "13912345678"},
                                             {"F_address", "北京市海淀区学院路 12 号"},
                                             {"F_area", "海淀"},
                                             {"F_buyAddress", "国美/中关村店"},
                                             {"F_buyDate", bought},
                                             {"F_setupDate", QDate(2024, 5, 6)},
                                             {"F_status", "正在服务"},
                                             {"F_FWemp", "王师傅"},
                                             {"F_FWprice", 80.0},
                                             {"F_FWtype", "送货安装"},
                                             {"F_awokeDate", QDate(2024, 2, 1)}}));
        ASSERT_TRUE(db().insert("t_client", {{"F_code", "00000002"},
                                             {"F_client", "李四"},
                                             {"F_buyDate", bought},
                                             {"F_setupDate", QDate(1900, 8, 14)},
                                             {"F_status", "未服务"},
                                             {"F_FWemp", "王师傅"},
                                             {"F_FWprice", 50.0},
                                             {"F_FWtype", "送货安装"}}));
        ASSERT_TRUE(db().insert("t_HPrec", {{"F_code", "00000001"},
                                            {"F_HPcode", "000001"},
                                            {"F_HPname", "海尔冰箱"},
                                            {"F_amount", 1.0},
                                            {"F_price", 3999.0},
                                            {"F_totalprice", 3999.0}}));
        ASSERT_TRUE(db().insert("t_HFrec", {{"F_code", "00000001"},
                                            {"F_HFdate", QDate(2024, 5, 10)},
                                            {"F_memo1", "顾客满意"},
                                            {"F_HFitem1", "上门费"},
                                            {"F_HFprice1", 30.0},
                                            {"F_HFtotalPrice", 30.0}}));
        ASSERT_TRUE(db().insert("t_WXrec", {{"F_code", "00000001"},
                                            {"F_WXcode", "WX000001"},
                                            {"F_FWtype", "上门维修"},
                                            {"F_bxFlag", "保内"},
                                            {"F_memo1", "制冷效果差"},
                                            {"F_bxDate", QDate(2024, 6, 1)},
                                            {"F_SFtotalprice", 120.0}}));
        ASSERT_TRUE(db().insert("t_goods", {{"F_code", "000001"},
                                            {"F_name", "海尔冰箱"},
                                            {"F_price1", 3999.0},
                                            {"F_price2", 3200.0},
                                            {"F_amount", 4.0}}));
        ASSERT_TRUE(db().insert("t_goodJHrec", {{"F_GoodCode", "000001"},
                                                {"F_editDate", bought},
                                                {"F_amount", 5.0},
                                                {"F_price2", 3200.0},
                                                {"F_OperFlag", 1}}));
    }
};

TEST_P(DeliveredTemplatesTest, EveryTemplateFillsWithItsWindowsData)
{
    const QDir qr(qrFolder());
    EXPECT_EQ(qr.entryList({"*.frf"}, QDir::Files).size(), 23);
    QObject owner;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.file);
        Report report;
        // File names as the windows spell them resolve in any letter case.
        ASSERT_TRUE(report.load(qr.filePath(QString::fromUtf8(c.file)))) << report.lastError().toStdString();
        for (const auto& source : c.sources) {
            auto* rs = new RecordSet(&owner);
            ASSERT_TRUE(rs->open(db(), QString::fromUtf8(source.second))) << rs->lastError().toStdString();
            report.tie(QString::fromUtf8(source.first), rs);
        }
        for (const QString& caption : c.captions)
            EXPECT_TRUE(report.setObjectText(caption, QStringLiteral("标题文字"))) << caption.toStdString();
        PreparedReport prepared;
        ASSERT_TRUE(report.prepare(&prepared)) << report.lastError().toStdString();
        ASSERT_GE(prepared.pageCount(), 1);
        EXPECT_EQ(prepared.pageSize.width() * prepared.pageSize.height(), 210.0 * 297.0); // A4 either way
        QStringList texts;
        for (int p = 0; p < prepared.pageCount(); ++p)
            texts += prepared.pageTexts(p);
        EXPECT_TRUE(texts.join('\n').contains(QString::fromUtf8(c.expected)))
            << texts.join(" | ").toStdString();
        if (!c.captions.isEmpty())
            EXPECT_TRUE(texts.contains(QStringLiteral("标题文字")));
        EXPECT_FALSE(texts.join('\n').contains('[')) << "an expression was printed as text";
    }
}

INSTANTIATE_ENGINES(DeliveredTemplatesTest);
