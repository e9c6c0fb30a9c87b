#include "sky/user_objects.h"

#include "host/registry.h"

namespace sky {

void UserObjects::LoadFiles(const std::string& dataDir, bool (*reserved)(const CString& name)) {
    if (filesLoaded) return;
    filesLoaded = true;
    auto add = [this](std::vector<std::string> more) {
        problems.insert(problems.end(), more.begin(), more.end());
    };
    CString adfFolder, imageFolder;
    CRegistry::Read(u"SkyEngine", u"AdfFolder", CString(), adfFolder);
    CRegistry::Read(u"SkyEngine", u"ImageFolder", CString(), imageFolder);
    add(adf.LoadFolder(dataDir + "/adf", reserved));
    if (!adfFolder.IsEmpty()) add(adf.LoadFolder(adfFolder.ToUtf8(), reserved));
    add(images.LoadFolder(dataDir + "/images"));
    if (!imageFolder.IsEmpty()) add(images.LoadFolder(imageFolder.ToUtf8()));
}

}  // namespace sky
