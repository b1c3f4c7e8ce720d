#pragma once

#include <string>

class QWidget;

// Drives the panel's own model code with documents from a fuzzer: the two
// documents are served by an in-memory lighting service, loaded through
// DeviceAggregator exactly as the main window loads them (narrowing, parsing,
// the no-group refusal); then every kind of effect profile the views build is
// built from the model, and the view the panel would now show (the reported
// effect's, from the factory) is loaded and asked for its profile.
class PanelModelDriver
{
public:
    // Creates the application object (offscreen) the views need.
    PanelModelDriver();

    // One load of both documents and the profiles. Aborts on a profile that
    // does not parse back as XML.
    void Run(const std::string& capability, const std::string& status);

    // A document of the source tree (path relative to its top), read whole.
    static std::string Fixture(const char* relativePath);

private:
    QWidget* page;
};
