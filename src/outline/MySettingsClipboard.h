#pragma once
// The settings record of a copied settings row ("scatterProperties" on the clipboard) and
// the checks a record passes before it is pasted onto a row.
#include <QString>
#include <QVariant>
#include <optional>

class MyConfigItem;
class Alert;

class MySettingsClipboard {
public:
    static constexpr const char* mimeType = "application/x-scatterProperties";

    // The messages of the paste refusals, as the user sees them.
    static const QString unchangeableRow;
    static const QString differentType;
    static const QString differentLocation;
    static const QString notApplicable;

    // {"keys", "indexes", "val", "type", "type2"} of the row.
    static QVariantMap recordOf(const MyConfigItem* row);
    // Replaces the clipboard's content by the record alone.
    static void write(const QVariantMap& record);
    // The record on the clipboard, when there is one and it is a dictionary.
    static std::optional<QVariantMap> read();

    struct Verdict {
        // The value to hand on as "Paste Settings"; invalid when refused or unusable.
        QVariant value;
        // The refusal to show; empty for an accepted record and for an unusable one
        // (fields missing or of the wrong kind), which ends the paste silently.
        QString message;
        bool accepted() const { return value.isValid(); }
    };
    static Verdict check(const QVariantMap& record, const MyConfigItem* target);
    // check(), with a refusal shown on the alert. The value to apply, if any.
    static std::optional<QVariant> checkShowingRefusal(const QVariantMap& record, const MyConfigItem* target, Alert& alert);
    // The last check of a paste, on the value as the graph would write it (fitted to the
    // graph: its own bars or boxes and series filled in, the other kind's dropped) and the row
    // it would go to: false, with the refusal shown, when it does not fit there.
    static bool fittedShowingRefusal(const QVariant& value, const MyConfigItem* row, Alert& alert);
    // Whether a value can stand in the target row: the same kinds throughout, the same
    // dictionary keys, every text and integer within the row's limits, every colour and
    // font readable.
    static bool applicable(const QVariant& value, const MyConfigItem* target);
};
