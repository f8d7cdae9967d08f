#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The words the demo shop is made of: people, places, goods, faults and the fixed code lists.
namespace DemoVocabulary {

struct District {
    QString name;
    QStringList streets;
};

struct City {
    QString name;
    QString phoneArea; // trunk prefix of fixed lines, "010"
    int phoneDigits;   // digits after the prefix
    int weight;        // share of customers, in percent
    QList<District> districts;
};

// A shop, branch or sales channel with its counters; `city` empty when it sells everywhere.
struct PurchasePlace {
    QString name;
    QString city;
    QStringList counters;
};

struct Category {
    QString name;
    QStringList subtypes;
    QStringList brands;
    int lowPrice;
    int highPrice;
    QString unit;
    QString modelPrefix;
    int warrantyYears;
    int installWage; // typical installer's wage for one order
    QStringList faults;
    QStringList parts;
    QStringList rooms; // where it is usually installed
    int weight;        // share of the goods sold, in percent
};

struct SparePart {
    QString name;
    int price;
};

// Surnames, most common first.
const QStringList& surnames();
const QStringList& givenNameCharacters();
const QStringList& housingEstates();
const QList<City>& cities();
const QList<PurchasePlace>& purchasePlaces();
const QList<Category>& categories();
const QList<SparePart>& spareParts();
int sparePartPrice(const QString& name);
const QStringList& placesOfOrigin();

// Code lists whose entries do not depend on the generated data, as (type, names).
const QList<QPair<QString, QStringList>>& fixedCodeLists();

// Free text of the kind shops type into the memo fields.
const QStringList& dispatchRequirements();
const QStringList& customerOpinions();
const QStringList& visitContents();
const QStringList& visitResults();
const QStringList& repairDispatchNotes();
const QStringList& repairCauses();
const QStringList& repairSolutions();
const QStringList& repairResults();

} // namespace DemoVocabulary
