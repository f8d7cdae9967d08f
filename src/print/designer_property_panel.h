#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class DesignerDocument;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
struct ReportBand;
struct ReportObject;
class ReportTemplate;

// Properties of what is selected in the designer: the report (page set-up) when nothing is, a
// band, or objects (style changes apply to every selected object).
class DesignerPropertyPanel : public QWidget {
    Q_OBJECT
public:
    explicit DesignerPropertyPanel(DesignerDocument& document, QWidget* parent = nullptr);

    // Names offered as data sources of data bands.
    void setSourceNames(const QStringList& names);
    // Puts the caret into the text of the selected object.
    void focusText();
    // Inserts text at the caret of the object text and applies it.
    void insertIntoText(const QString& text);

private:
    void refresh();
    void buildReportPage();
    void buildBandPage();
    void buildObjectPage();
    void editObjects(const QString& description, const std::function<void(ReportObject&)>& change);
    void editBand(const QString& description, const std::function<void(ReportBand&)>& change);
    void editReport(const QString& description, const std::function<void(ReportTemplate&)>& change);
    void applyText();
    void chooseColor(bool fill);

    DesignerDocument& m_document;
    QStringList m_sources;
    bool m_updating = false;
    QStackedWidget* m_pages;

    // report
    QLineEdit* m_title;
    QComboBox* m_paper;
    QCheckBox* m_landscape;
    QDoubleSpinBox* m_margins[4];
    QCheckBox* m_repeated;
    // band
    QFormLayout* m_bandForm;
    QLineEdit* m_bandName;
    QLabel* m_bandKind;
    QDoubleSpinBox* m_bandHeight;
    QComboBox* m_source;
    QComboBox* m_rows;
    QComboBox* m_master;
    QLineEdit* m_masterField;
    QLineEdit* m_detailField;
    QComboBox* m_detail;
    QLineEdit* m_condition;
    QComboBox* m_group;
    QCheckBox* m_bandStretch;
    QCheckBox* m_newPageBefore;
    QCheckBox* m_newPageAfter;
    QCheckBox* m_printIfEmpty;
    QCheckBox* m_onFirstPage;
    QCheckBox* m_repeat;
    // object
    QFormLayout* m_objectForm;
    QLabel* m_objectKind;
    QLineEdit* m_name;
    QPlainTextEdit* m_text;
    QPushButton* m_applyText;
    QDoubleSpinBox* m_geometry[4];
    QComboBox* m_font;
    QDoubleSpinBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QComboBox* m_align;
    QComboBox* m_valign;
    QCheckBox* m_frame[4];
    QDoubleSpinBox* m_frameWidth;
    QPushButton* m_textColor;
    QPushButton* m_fill;
    QPushButton* m_noFill;
    QComboBox* m_format;
    QCheckBox* m_wrap;
    QCheckBox* m_stretch;
    QLineEdit* m_pictureFile;
    QCheckBox* m_keepAspect;
};
