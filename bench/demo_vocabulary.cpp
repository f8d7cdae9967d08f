#include "demo_vocabulary.h"

#include <QHash>

namespace {

// Word lists are written as one blank-separated string to keep them readable.
QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

namespace DemoVocabulary {

const QStringList& surnames()
{
    static const QStringList list = words("王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗 郑 梁 "
                                          "谢 宋 唐 许 韩 冯 邓 曹 彭 曾 肖 田 董 "
                                          "袁 潘 于 蒋 蔡 余 杜 叶 程 苏 魏 吕 丁 任 沈 姚 卢 姜 崔 钟 谭 陆 "
                                          "汪 范 金 石 廖 贾 夏 韦 付 方 白 邹 孟 "
                                          "熊 秦 邱 江 尹 薛 闫 段 雷 侯 龙 史 陶 黎 贺 顾 毛 郝 龚 邵 万 钱 "
                                          "严 武 戴 莫 孔 向 汤 欧阳 司马 诸葛");
    return list;
}

const QStringList& givenNameCharacters()
{
    static const QStringList list = words("伟 芳 娜 秀 英 敏 静 丽 强 磊 军 洋 勇 艳 杰 娟 涛 明 超 兰 霞 平 "
                                          "刚 桂 华 玉 萍 红 建 文 辉 力 斌 宇 "
                                          "浩 凯 鹏 俊 帆 鑫 波 宁 琳 晨 欣 悦 雪 梅 峰 亮 林 东 海 婷 颖 佳 "
                                          "思 雨 嘉 子 涵 博 国 志 春 燕 晓 云 立 "
                                          "新 永 金 德 凤 福 庆 荣 宏 瑞 琪 天 阳 慧 丹 飞 彬 琴 玲 桐 瑶 蕾 "
                                          "松 岩 冬 学 成 光 保 家 荣 振 军 淑");
    return list;
}

const QStringList& housingEstates()
{
    static const QStringList list = words(
        "阳光花园 金色家园 华清嘉园 幸福里 和平里小区 望春园 碧水湾 丽景苑 锦绣花园 枫林绿洲 翠微小区 "
        "融泽嘉园 "
        "润泽庄园 育新花园 远洋山水 万科城市花园 龙湖唐宁 首开璞瑅 天通苑 回龙观新村 富力城 世纪城 绿城百合 "
        "新华里 光明里 工人新村 铁路宿舍 电力宿舍 教师新村 建材小区");
    return list;
}

const QList<City>& cities()
{
    static const QList<City> list = {
        {s("北京市"),
         s("010"),
         8,
         62,
         {{s("海淀区"), words("中关村大街 学院路 知春路 万泉河路 西三环北路 清河中街")},
          {s("朝阳区"), words("建国路 朝阳北路 望京街 安立路 农展馆南路 广渠路")},
          {s("丰台区"), words("丰台北路 南四环西路 方庄路 马家堡东路 科学城路")},
          {s("西城区"), words("西直门内大街 德胜门外大街 广安门内大街 阜成门外大街")},
          {s("东城区"), words("东直门南大街 崇文门外大街 和平里东街 安定门外大街")},
          {s("昌平区"), words("回龙观东大街 府学路 天通苑北街 北清路")},
          {s("通州区"), words("新华大街 梨园中街 九棵树西路 玉桥中路")}}},
        {s("天津市"),
         s("022"),
         8,
         24,
         {{s("和平区"), words("南京路 多伦道 西康路 成都道")},
          {s("南开区"), words("鞍山西道 红旗路 黄河道 复康路")},
          {s("河西区"), words("友谊路 围堤道 解放南路 珠江道")},
          {s("河北区"), words("中山路 金钟河大街 昆纬路")}}},
        {s("廊坊市"),
         s("0316"),
         7,
         14,
         {{s("广阳区"), words("新华路 和平路 银河北路 爱民东道")},
          {s("安次区"), words("永兴路 光明西道 南龙道")},
          {s("三河市"), words("燕郊迎宾路 行宫东大街 燕顺路 汇福路")}}},
    };
    return list;
}

const QList<PurchasePlace>& purchasePlaces()
{
    static const QList<PurchasePlace> list = {
        {s("总店"), s("北京市"), words("一楼空调区 一楼冰洗区 二楼厨卫区 二楼影音区 团购部")},
        {s("海淀分店"), s("北京市"), words("空调柜台 冰洗柜台 厨卫柜台 电视柜台")},
        {s("朝阳分店"), s("北京市"), words("空调柜台 冰洗柜台 厨卫柜台")},
        {s("天津分店"), s("天津市"), words("空调柜台 冰洗柜台 厨卫柜台 电视柜台")},
        {s("燕郊分店"), s("廊坊市"), words("家电卖场 厨卫专区")},
        {s("网上商城"), QString(), words("天猫旗舰店 京东专营店 微信小程序")},
        {s("电话订购"), QString(), {}},
    };
    return list;
}

const QList<Category>& categories()
{
    static const QList<Category> list = {
        {s("空调"), words("挂机 柜机 中央空调"), words("格力 美的 海尔 奥克斯 海信 志高 大金 格兰仕"), 1800,
         16000, s("套"), s("KFR-"), 6, 150,
         words("不制冷 不制热 漏水 噪音大 遥控失灵 显示故障代码 室外机不转"),
         words("电容 冷媒 风扇电机 电脑板 温度传感器 遥控器 压缩机 排水管"), words("客厅 主卧 次卧 书房"),
         25},
        {s("冰箱"), words("双门 三门 对开门 多门"), words("海尔 美的 容声 西门子 海信 美菱 卡萨帝"), 1400,
         12000, s("台"), s("BCD-"), 3, 30, words("不制冷 冷藏室结冰 噪音大 门关不严 冷冻室结霜"),
         words("压缩机 温控器 门封条 电脑板 温度传感器 风扇电机"), words("厨房 餐厅"), 15},
        {s("洗衣机"), words("波轮 滚筒 洗烘一体"), words("海尔 小天鹅 美的 西门子 松下 LG"), 900, 8000,
         s("台"), s("XQG"), 3, 40, words("不排水 不进水 脱水异响 漏水 不通电 门锁打不开"),
         words("排水泵 进水阀 皮带 电脑板 电机 门锁开关"), words("卫生间 阳台"), 14},
        {s("热水器"), words("电热水器 燃气热水器 太阳能热水器"),
         words("海尔 美的 万和 万家乐 史密斯 林内 皇明"), 800, 6000, s("台"), s("JSQ"), 3, 120,
         words("不加热 漏水 水温不稳 点不着火 漏电保护跳闸"),
         words("加热管 镁棒 温控器 点火针 电脑板 漏电保护插头"), words("卫生间 厨房"), 12},
        {s("电视"), words("液晶电视 激光电视 智能电视"), words("海信 创维 TCL 长虹 小米 索尼 三星"), 1200,
         20000, s("台"), s("LED"), 1, 50, words("无图像 无声音 黑屏 遥控失灵 画面闪烁"),
         words("电源板 背光灯条 主板 遥控器"), words("客厅 主卧"), 14},
        {s("油烟机"), words("侧吸式 顶吸式 近吸式"), words("方太 老板 华帝 帅康 万和"), 1500, 9000, s("台"),
         s("CXW-"), 1, 100, words("吸力小 噪音大 漏油 不通电"), words("风机 止回阀 电容 开关板"),
         words("厨房"), 7},
        {s("燃气灶"), words("嵌入式 台式"), words("方太 老板 华帝 万和 万家乐"), 500, 4000, s("台"),
         s("JZT-"), 1, 60, words("点不着火 火力小 熄火 漏气"), words("点火针 熄火保护器 阀体 脉冲点火器"),
         words("厨房"), 6},
        {s("消毒柜"), words("嵌入式 立式"), words("康宝 方太 老板 美的"), 800, 4000, s("台"), s("ZTD"), 1, 60,
         words("不加热 门关不严 指示灯不亮"), words("加热管 门封条 电脑板"), words("厨房 餐厅"), 3},
        {s("微波炉"), words("微波炉 微蒸烤一体"), words("格兰仕 美的 松下 东芝"), 400, 4000, s("台"), s("WD"),
         1, 0, words("不加热 转盘不转 打火"), words("磁控管 转盘电机 电脑板"), words("厨房"), 4},
    };
    return list;
}

const QList<SparePart>& spareParts()
{
    static const QList<SparePart> list = {
        {s("电容"), 45},       {s("冷媒"), 120},      {s("风扇电机"), 260},    {s("电脑板"), 380},
        {s("温度传感器"), 40}, {s("遥控器"), 60},     {s("压缩机"), 1200},     {s("排水管"), 20},
        {s("温控器"), 80},     {s("门封条"), 90},     {s("排水泵"), 110},      {s("进水阀"), 70},
        {s("皮带"), 35},       {s("电机"), 420},      {s("门锁开关"), 65},     {s("加热管"), 150},
        {s("镁棒"), 50},       {s("点火针"), 30},     {s("漏电保护插头"), 85}, {s("电源板"), 320},
        {s("背光灯条"), 280},  {s("主板"), 560},      {s("风机"), 350},        {s("止回阀"), 40},
        {s("开关板"), 120},    {s("熄火保护器"), 55}, {s("阀体"), 160},        {s("脉冲点火器"), 75},
        {s("磁控管"), 210},    {s("转盘电机"), 60},
    };
    return list;
}

int sparePartPrice(const QString& name)
{
    static const QHash<QString, int> prices = [] {
        QHash<QString, int> map;
        for (const SparePart& part : spareParts())
            map.insert(part.name, part.price);
        return map;
    }();
    return prices.value(name, 50);
}

const QStringList& placesOfOrigin()
{
    static const QStringList list = words("广东珠海 广东佛山 广东顺德 广东中山 山东青岛 安徽合肥 江苏南京 "
                                          "江苏无锡 浙江杭州 浙江宁波 四川绵阳 天津");
    return list;
}

const QList<QPair<QString, QStringList>>& fixedCodeLists()
{
    static const QList<QPair<QString, QStringList>> list = {
        {s("FWtype"), words("送货安装 送货 安装 移机 拆机 清洗保养")},
        {s("unit"), words("台 套 件 个 米")},
        {s("setuppos"), words("客厅 主卧 次卧 书房 厨房 卫生间 阳台 餐厅")},
        {s("PStype"), words("本店送货 厂家直送 物流代送 顾客自提")},
        {s("fwtaidu"), words("非常满意 满意 一般 不满意")},
        {s("wxtype"), words("上门维修 送修 清洗保养 移机 安装调试")},
        {s("wxstatus"), words("待派工 已派工 维修中 待配件 已修复 无法修复")},
        {s("hfitem"), words("空调支架 加长铜管 打孔费 高空作业费 拆旧机费 角阀软管 移机费 延长线")},
        {s("wxinfo"),
         words("已电话联系顾客 需携带配件 顾客要求上午上门 顾客要求下午上门 厂家保修 需二次上门")},
        {s("ifsonghuo"), words("是 否")},
    };
    return list;
}

const QStringList& dispatchRequirements()
{
    static const QStringList list = words("请提前电话联系 上午送货 下午送货 需拆旧机 顾客不在家请联系家人 "
                                          "楼层较高无电梯 需带加长管 周末送货 晚上六点后送货 送货时带发票");
    return list;
}

const QStringList& customerOpinions()
{
    static const QStringList list =
        words("满意 安装师傅很专业 送货及时 希望以后提前联系 安装后清理干净 师傅迟到了半小时");
    return list;
}

const QStringList& visitContents()
{
    static const QStringList list = words("安装满意 送货及时 师傅服务态度好 使用正常 顾客反映安装位置不理想 "
                                          "顾客未接电话 顾客询问保修期 顾客反映噪音稍大");
    return list;
}

const QStringList& visitResults()
{
    static const QStringList list = words("无需处理 已处理 已安排复查 已告知保修政策 已转维修部");
    return list;
}

const QStringList& repairDispatchNotes()
{
    static const QStringList list =
        words("顾客着急请尽快上门 先电话确认故障 保内免费维修 保外先报价 带齐工具 需两人上门");
    return list;
}

const QStringList& repairCauses()
{
    static const QStringList list = words("元件老化 电压不稳 使用不当 安装不规范 配件损坏 线路松动 进水受潮");
    return list;
}

const QStringList& repairSolutions()
{
    static const QStringList list = words("更换配件 重新安装 紧固线路 清洗 调整参数 补充冷媒");
    return list;
}

const QStringList& repairResults()
{
    static const QStringList list = words("已修复使用正常 已修复顾客满意 需观察 已更换新机");
    return list;
}

} // namespace DemoVocabulary
