// Loading and saving the settings record (see SettingsStore.h).
#include "settings/store/SettingsStore.h"

#include <QSettings>

namespace tallyon {

namespace {

// Placements are at least this many pixels wide and high.
constexpr int kMinimumExtent = 160;

// The names of a placement's values, in the order they are read and written.
constexpr const char* kPlacementNames[] = {"Left", "Width", "Top", "Height"};
int TPlacement::*const kPlacementMembers[] = {&TPlacement::Left, &TPlacement::Width,
                                              &TPlacement::Top, &TPlacement::Height};

const QString kMainWndGroup = QStringLiteral("MainWnd");
const QString kVariablesGroup = QStringLiteral("Variables");

QString NameOf(const TSettingField& field) {
    return QString::fromLatin1(field.Name.data(), static_cast<qsizetype>(field.Name.size()));
}

// A decimal 32-bit integer with an optional sign and nothing else.
std::optional<int> ParseInteger(const QString& text) {
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
    if (i == text.size()) return std::nullopt;
    for (qsizetype j = i; j < text.size(); ++j)
        if (text[j] < u'0' || text[j] > u'9') return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

// The placement in group `group`, or nullopt when one of its values cannot be read.
std::optional<TPlacement> ReadPlacement(const QSettings& store, const QString& group) {
    TPlacement placement;
    for (std::size_t i = 0; i < std::size(kPlacementNames); ++i) {
        const auto value = ReadStoredInteger(store, group + '/' + kPlacementNames[i]);
        if (!value) return std::nullopt;
        placement.*kPlacementMembers[i] = *value;
    }
    return placement;
}

void WritePlacement(QSettings& store, const QString& group, const TPlacement& placement) {
    for (std::size_t i = 0; i < std::size(kPlacementNames); ++i)
        store.setValue(group + '/' + kPlacementNames[i], placement.*kPlacementMembers[i]);
}

// Reads one field into `record`; false when the value cannot be read.
bool ReadField(const QSettings& store, const TSettingField& field, TSettingsRecord& record) {
    const QString name = NameOf(field);
    return std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            if constexpr (std::is_same_v<T, int>) {
                const auto value = ReadStoredInteger(store, name);
                if (value) record.*member = *value;
                return value.has_value();
            } else if constexpr (std::is_same_v<T, bool>) {
                const auto value = ReadStoredBoolean(store, name);
                if (value) record.*member = *value;
                return value.has_value();
            } else if constexpr (std::is_same_v<T, std::string>) {
                const auto value = ReadStoredText(store, name);
                if (value) record.*member = value->toStdString();
                return value.has_value();
            } else {
                const auto value = ReadStoredInteger(store, name);
                if (value) record.*member = static_cast<TColour>(*value);
                return value.has_value();
            }
        },
        field.Member);
}

// Gives a field the value an absent one turns into: empty for a text, else `AbsentValue`
// (a Boolean as 0 or 1) unless that is kKeepValue.
void TakeAbsentValue(const TSettingField& field, TSettingsRecord& record) {
    const int value = field.AbsentValue;
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            if constexpr (std::is_same_v<T, std::string>)
                (record.*member).clear();
            else if (value == kKeepValue)
                return;
            else if constexpr (std::is_same_v<T, bool>)
                record.*member = value != 0;
            else
                record.*member = static_cast<T>(value);
        },
        field.Member);
}

// Gives a field the value it has in a fresh record.
void ResetField(const TSettingField& field, TSettingsRecord& record) {
    static const TSettingsRecord initial;
    std::visit([&](auto member) { record.*member = initial.*member; }, field.Member);
}

bool IsZero(const TSettingField& field, const TSettingsRecord& record) {
    return std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            if constexpr (std::is_same_v<T, int>)
                return record.*member == 0;
            else
                return false;
        },
        field.Member);
}

void WriteField(QSettings& store, const TSettingField& field, const TSettingsRecord& record) {
    const QString name = NameOf(field);
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            if constexpr (std::is_same_v<T, int>)
                store.setValue(name, record.*member);
            else if constexpr (std::is_same_v<T, bool>)
                store.setValue(name, record.*member ? 1 : 0);
            else if constexpr (std::is_same_v<T, std::string>)
                store.setValue(name, QString::fromStdString(record.*member));
            else
                store.setValue(name, static_cast<qint32>(record.*member));
        },
        field.Member);
}

// Reads the group whose fields are kSettingFields[first, last) until a value fails; returns
// false when one did.
bool ReadGroup(const QSettings& store, std::size_t first, std::size_t last,
               TSettingsRecord& record) {
    for (std::size_t i = first; i < last; ++i)
        if (kSettingFields[i].Reset == TSettingReset::AtGroupStart)
            ResetField(kSettingFields[i], record);
    for (std::size_t i = first; i < last; ++i) {
        const TSettingField& field = kSettingFields[i];
        if (field.Reset == TSettingReset::WhenReached &&
            (i == first || kSettingFields[i - 1].Reset != TSettingReset::WhenReached)) {
            for (std::size_t j = i; j < last && kSettingFields[j].Reset == field.Reset; ++j)
                ResetField(kSettingFields[j], record);
        }
        const bool exists = store.contains(NameOf(field));
        if (!exists && field.Absent == TSettingAbsent::LeadsRun) {
            // Skip the run: the lead and the EndsGroup values after it.
            std::size_t j = i;
            do {
                TakeAbsentValue(kSettingFields[j], record);
                ++j;
            } while (j < last && kSettingFields[j].Absent == TSettingAbsent::EndsGroup);
            i = j - 1;
            continue;
        }
        if (!exists && field.Absent == TSettingAbsent::TakesValue) {
            TakeAbsentValue(field, record);
        } else if (!ReadField(store, field, record)) {
            return false;
        }
        if (field.Replace == TSettingReplace::EmptyByPattern) {
            std::string& text = record.*std::get<std::string TSettingsRecord::*>(field.Member);
            if (text.empty()) text = kDefaultNumFormatStr;
        }
    }
    return true;
}

}  // namespace

bool PlacementFits(const TPlacement& p, QSize screen) {
    return p.Left >= 0 && p.Width >= kMinimumExtent && p.Top >= 0 && p.Height >= kMinimumExtent &&
           qint64(p.Left) + p.Width <= screen.width() &&
           qint64(p.Top) + p.Height <= screen.height();
}

std::optional<int> ReadStoredInteger(const QSettings& store, const QString& name) {
    const QVariant value = store.value(name);
    switch (value.typeId()) {
        case QMetaType::Int:
            return value.toInt();
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong: {
            bool ok = false;
            const int v = value.toInt(&ok);
            if (ok && value.toLongLong() == v) return v;
            return std::nullopt;
        }
        case QMetaType::QString:
            return ParseInteger(value.toString());
        default:
            return std::nullopt;
    }
}

std::optional<bool> ReadStoredBoolean(const QSettings& store, const QString& name) {
    const auto value = ReadStoredInteger(store, name);
    if (!value) return std::nullopt;
    return *value != 0;
}

std::optional<QString> ReadStoredText(const QSettings& store, const QString& name) {
    const QVariant value = store.value(name);
    if (!value.isValid()) return QString();
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

TLoadedWindows ReadSettingsStore(QSettings& store, TSettingsRecord& record, QSize screen) {
    TLoadedWindows loaded;

    if (auto placement = ReadPlacement(store, kMainWndGroup); placement &&
                                                              PlacementFits(*placement, screen))
        loaded.MainWnd = placement;

    if (auto placement = ReadPlacement(store, kVariablesGroup)) {
        if (auto visible = ReadStoredBoolean(store, kVariablesGroup + QStringLiteral("/Visible"))) {
            loaded.VariablesVisible = visible;
            if (PlacementFits(*placement, screen)) loaded.Variables = placement;
        }
    }

    for (const TSettingGroupLead& lead : kSettingGroupLeads) {
        std::size_t first = 0;
        while (first < kSettingFields.size() && kSettingFields[first].Group != lead.Group) ++first;
        std::size_t last = first;
        while (last < kSettingFields.size() && kSettingFields[last].Group == lead.Group) ++last;

        const bool skipped = !lead.Lead.empty() &&
                             !store.contains(QString::fromLatin1(lead.Lead.data(),
                                                                 qsizetype(lead.Lead.size())));
        const bool complete = skipped || ReadGroup(store, first, last, record);
        if (!complete) continue;
        for (std::size_t i = first; i < last; ++i)
            if (kSettingFields[i].Replace == TSettingReplace::ZeroByInitial &&
                IsZero(kSettingFields[i], record))
                ResetField(kSettingFields[i], record);
    }
    return loaded;
}

bool WriteSettingsStore(QSettings& store, const TSettingsRecord& record,
                        const TWindowsToSave& windows) {
    WritePlacement(store, kMainWndGroup, windows.MainWnd);
    WritePlacement(store, kVariablesGroup, windows.Variables);
    store.setValue(kVariablesGroup + QStringLiteral("/Visible"), windows.VariablesVisible ? 1 : 0);
    for (const TSettingField& field : kSettingFields)
        WriteField(store, field, record);
    store.sync();
    return store.status() == QSettings::NoError;
}

int FirstStartLanguage(const QLocale& locale) {
    return locale.language() == QLocale::Japanese ? 2 : 1;
}

}  // namespace tallyon
