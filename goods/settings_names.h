#pragma once
// The four settings of the goods directory window: its outer position and size in twips,
// stored as text in the section "Settings" of the application "Tarvel".

#include <QString>
#include <array>

namespace tarvel {

struct SettingDefault {
    QString name;
    QString defaultValue;
};

inline const QString kSettingsSection = QStringLiteral("Settings");
inline const std::array<SettingDefault, 4> kWindowSettings = {{
    {QStringLiteral("MainLeft"), QStringLiteral("1000")},
    {QStringLiteral("MainTop"), QStringLiteral("1000")},
    {QStringLiteral("MainWidth"), QStringLiteral("6500")},
    {QStringLiteral("MainHeight"), QStringLiteral("6500")},
}};

} // namespace tarvel
