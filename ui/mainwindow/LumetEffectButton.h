#pragma once

#include <QPushButton>

#include <string>

// One entry of the effect list: a checkable, auto-exclusive button that carries
// the effect's number and its untranslated name.
class LumetEffectButton : public QPushButton
{
    Q_OBJECT

public:
    static constexpr int Width = 179;
    static constexpr int Height = 33;

    // The text shown is the translation of effectName (context "LumetClass").
    LumetEffectButton(QWidget* parent, const std::string& effectId, const std::string& effectName);

    // The buttons' look, set once on the widget that holds them all: Qt parses
    // a sheet again for every widget that carries one.
    static QString StyleSheet();

    std::string GetEffectId() const { return effectId; }
    std::string GetEffectName() const { return effectName; }

private:
    std::string effectId;
    std::string effectName;
};
