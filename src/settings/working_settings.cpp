#include "settings/working_settings.h"

#include "platform/documents_folder.h"
#include "settings/profile_keys.h"

namespace trimlet {

WorkingSettings LoadWorkingSettings(const Profile& profile, const DocumentsFolderLookup& lookup) {
    WorkingSettings s;
    s.showBaseFolder = ReadShowBaseFolder(profile);
    s.htmlExtensions = ReadHtmlExtensions(profile);
    s.scriptExtensions = ReadScriptExtensions(profile);
    s.trimMode = ReadTrimMode(profile);
    s.outputFolderName = ReadOutputFolderName(profile);
    s.alertCreateOutputFolder = ReadAlertCreateOutputFolder(profile);

    std::string found;
    s.documentFolder = ReadDocumentFolder(profile);
    if (s.documentFolder.empty() && lookup(found)) s.documentFolder = found;
    s.lastFileOpenFolder = ReadLastFileOpenFolder(profile);
    if (s.lastFileOpenFolder.empty()) {
        if (found.empty()) static_cast<void>(lookup(found));
        s.lastFileOpenFolder = found;
    }

    s.mruOpenAction = ReadMruOpenAction(profile);
    s.verifyTrimResults = ReadVerifyTrimResults(profile);
    s.keptComments = ReadKeptComments(profile);
    return s;
}

WorkingSettings LoadWorkingSettings(const Profile& profile) {
    return LoadWorkingSettings(profile,
                               [](std::string& folder) { return FindDocumentsFolder(folder); });
}

void ReloadOptionSettings(const Profile& profile, WorkingSettings& settings) {
    settings.trimMode = ReadTrimMode(profile);
    settings.outputFolderName = ReadOutputFolderName(profile);
    settings.alertCreateOutputFolder = ReadAlertCreateOutputFolder(profile);
    settings.htmlExtensions = ReadHtmlExtensions(profile);
    settings.scriptExtensions = ReadScriptExtensions(profile);
    settings.mruOpenAction = ReadMruOpenAction(profile);
    settings.verifyTrimResults = ReadVerifyTrimResults(profile);
    settings.keptComments = ReadKeptComments(profile);
}

void SaveSessionSettings(Profile& profile, const WorkingSettings& settings) {
    WriteShowBaseFolder(profile, settings.showBaseFolder);
    WriteDocumentFolder(profile, settings.documentFolder);
    WriteLastFileOpenFolder(profile, settings.lastFileOpenFolder);
}

}  // namespace trimlet
