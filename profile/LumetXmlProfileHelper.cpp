#include "profile/LumetXmlProfileHelper.h"

#include "app/ProgramDirectory.h"

#include <tinyxml2.h>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<bool> keepProfileFile{false};

// Text mode on purpose: on Windows the kept file gets CR LF line ends like
// every other text file the panel leaves in its directory.
void WriteProfileFile(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

} // namespace

LumetXmlProfileHelper::LumetXmlProfileHelper(QObject* parent) : QObject(parent) {}

LumetXmlProfileHelper::~LumetXmlProfileHelper() = default;

tinyxml2::XMLElement* LumetXmlProfileHelper::AppendElement(tinyxml2::XMLDocument& document,
                                                           tinyxml2::XMLNode* parent, const std::string& name,
                                                           const std::string& key, const std::string& text)
{
    tinyxml2::XMLElement* element = document.NewElement(name.c_str());
    if (!key.empty())
        element->SetAttribute("key", key.c_str());
    element->SetText(text.c_str());
    // Without a parent the element stays unlinked; the document still owns it.
    if (parent)
        parent->InsertEndChild(element);
    return element;
}

std::string LumetXmlProfileHelper::PrintProfile(const tinyxml2::XMLDocument& document)
{
    // The same printer the document's SaveFile uses, writing into memory.
    tinyxml2::XMLPrinter printer(nullptr, false);
    document.Print(&printer);
    std::string text(printer.CStr(), static_cast<size_t>(printer.CStrSize() > 0 ? printer.CStrSize() - 1 : 0));

    const std::string path = ProfileFilePath();
    if (!path.empty()) {
        if (IsKeepProfileFile())
            WriteProfileFile(path, text);
        else
            std::remove(path.c_str());
    }
    return text;
}

std::string LumetXmlProfileHelper::ProfileFilePath()
{
    const std::string dir = GetProgramDirectory();
    return dir.empty() ? std::string() : dir + "SetProfile.xml";
}

void LumetXmlProfileHelper::SetKeepProfileFile(bool keep)
{
    keepProfileFile = keep;
}

bool LumetXmlProfileHelper::IsKeepProfileFile()
{
    return keepProfileFile;
}
