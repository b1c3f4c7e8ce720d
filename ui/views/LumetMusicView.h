#pragma once

#include "ui/views/LumetEffectView.h"

#include <map>

class QLabel;
class QPushButton;

// The view of effect 19, in which the lighting follows the computer's sound.
// The user picks one of eight music styles from a grid of picture buttons;
// the profile sends the style's index as music_index.
class LumetMusicView : public LumetEffectView
{
    Q_OBJECT

public:
    LumetMusicView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                   int effectId);

    // The heading above the buttons ("MODE").
    void SetMessage(const std::string& message) override;

    // The chosen button's index; -1 while none is chosen.
    int GetMusicIndex() const;
    // The button of a music index, or null.
    QPushButton* GetButton(int musicIndex) const;

    // "QPushButton{...}" with the normal, hovered and chosen images of one
    // style's image name ("rock" gives rock_n.png, rock_o.png, rock_d.png).
    static QString ButtonStyleSheet(const char* imageName);

protected:
    void InitUi() override;
    // Chooses "Normal".
    void LoadDefaults() override;
    // Chooses the loaded music index; an index without a button chooses "Normal".
    void LoadFromModel() override;
    std::string BuildXmlProfile() override;

private slots:
    void OnButtonClicked();

private:
    // Checks the button of index n (else of index 0) and makes it current,
    // without counting as a user change.
    void ChooseMusicIndex(int n);

    QLabel* headingLabel = nullptr;
    std::map<QPushButton*, int> buttonMap;
    QPushButton* currentButton = nullptr;
};
