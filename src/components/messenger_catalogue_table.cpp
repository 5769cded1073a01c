#include "components/component_tables.h"

namespace purgent {

const MessengerTable& MessengerCatalogue() {
    using L = InstallLocations;
    constexpr PathAction Delete = PathAction::DeleteIfExists;
    constexpr PathAction RemoveDir = PathAction::RemoveDirIfExists;
    static const MessengerTable table{
        .dllPass = {.base = &L::MessengerDir, .subfolder = "", .pattern = "*.dll",
                    .countedFirst = true, .ownFolderOnly = true, .withExclusions = false},
        .classesRootKeys = {R"(\Novell.MessengerClient)", R"(\Novell.MessengerClient.1)"},
        .machineKeys = {
            R"(\Software\Classes\Novell.MessengerClient)",
            R"(\Software\Classes\Novell.MessengerClient.1)",
            R"(\Software\Clients\IM\Novell Messenger)",
        },
        .imClients = R"(\Software\Clients\IM)",
        .imDefault = "Novell Messenger",
        .explorerExtension =
            R"(\Software\Microsoft\Internet Explorer\Extensions\{3C3171BC-1025-43d1-8D1D-61CF4B38A28F})",
        .userValues = {
            {.key = R"(\Software\Microsoft\Windows\CurrentVersion\Run)", .name = "Novell Messenger"},
            {.key = R"(\Software\Microsoft\Internet Explorer\Extensions\CMDMapping)",
             .name = "{3C3171BC-1025-43d1-8D1D-61CF4B38A28F}"},
        },
        .shortcuts = {
            {Delete, &L::UserDesktop, R"(\GroupWise Messenger.lnk)"},
            {Delete, &L::CommonDesktop, R"(\GroupWise Messenger.lnk)"},
            {Delete, &L::UserPrograms, R"(\Novell Messenger\GroupWise Messenger.lnk)"},
            {Delete, &L::CommonPrograms, R"(\Novell Messenger\GroupWise Messenger.lnk)"},
            {RemoveDir, &L::CommonPrograms, R"(\Novell Messenger)"},
            {Delete, &L::CommonPrograms, R"(\Novell Groupwise\GroupWise Messenger.lnk)"},
            {RemoveDir, &L::CommonPrograms, R"(\Novell GroupWise)"},
            {Delete, &L::CommonPrograms, R"(\GroupWise Messenger\GroupWise Messenger.lnk)"},
            {RemoveDir, &L::CommonPrograms, R"(\GroupWise Messenger)"},
        },
        .profilesFolder = R"(:\Documents and Settings\)",
        .profileMask = "*.*",
        .dataFolder = R"(\Local Settings\Application Data\Novell\GroupWise Messenger)",
        .dataSubfolders = {R"(\history\admin)", R"(\history)"},
        .purgePattern = "*.*",
        .logFiles = "LogFiles",
        .installerInfo =
            R"(:\Program Files\InstallShield Installation Information\{3FC0833E-073C-4D5D-A046-74BC32358CB3})",
        .userKeys = {
            R"(\AppEvents\EventLabels\NM_ContactOffline)",
            R"(\AppEvents\EventLabels\NM_ContactOnline)",
            R"(\AppEvents\EventLabels\NM_FirstMessageIn)",
            R"(\AppEvents\EventLabels\NM_MessageIn)",
            R"(\AppEvents\EventLabels\NM_MessageOut)",
            R"(\AppEvents\Schemes\Apps\Novell Messenger)",
            R"(\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu\Programs\Novell Messenger)",
            R"(\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Novell Messenger)",
            R"(\Software\Novell\Messenger)",
            R"(\Software\Novell Messenger)",
        },
        .machineClassKeys = {
            R"(\Software\Classes\.nmx)",
            R"(\Software\Classes\AppID\{4184F6AD-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\AppID\NMCL32.EXE)",
            R"(\Software\Classes\CLSID\{4184F6AD-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\CLSID\{4184F6BC-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\Interface\{4184F6AD-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\Interface\{4184F6AF-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\Interface\{4184F6B0-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\Interface\{4184F6B1-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\Interface\{4184F6B2-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\Interface\{4184F6BE-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\CLSID\{2E71842B-AAC2-41B5-9188-28ECB5847FD7})",
            R"(\Software\Classes\CLSID\{3D206AE2-3039-413B-B748-3ACC562EC22A})",
            R"(\Software\Classes\CLSID\{4184F6B9-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\CLSID\{98CADB43-66FC-11D4-80F6-00C04F255980})",
            R"(\Software\Classes\IMClient.IMClientApi)",
            R"(\Software\Classes\IMClient.IMClientApi.1)",
            R"(\Software\Classes\Interface\{031E9AB1-577B-49CB-AAD1-D9B94D15687E})",
            R"(\Software\Classes\Interface\{4184F6BB-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\Interface\{4184F6BD-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\Interface\{5FF96D8D-5854-11D6-82F8-00B0D011982F})",
            R"(\Software\Classes\Interface\{5FF96D90-5854-11D6-82F8-00B0D011982F})",
            R"(\Software\Classes\Interface\{98CADB38-66FC-11D4-80F6-00C04F255980})",
            R"(\Software\Classes\Interface\{98CADB42-66FC-11D4-80F6-00C04F255980})",
            R"(\Software\Classes\Interface\{ED5CA38A-57D0-11D6-82F7-00B0D011982F})",
            R"(\Software\Classes\Interface\{ED5CA38D-57D0-11D6-82F7-00B0D011982F})",
            R"(\Software\Classes\Interface\{ED5CA393-57D0-11D6-82F7-00B0D011982F})",
            R"(\Software\Classes\nim)",
            R"(\Software\Classes\NIMAPI.NMSession)",
            R"(\Software\Classes\NIMAPI.NMSession.1)",
            R"(\Software\Classes\NIMAPI.NovellMessengerProvider)",
            R"(\Software\Classes\NIMAPI.NovellMessengerProvider.1)",
            R"(\Software\Classes\NMProtocol.ProtocolHandler)",
            R"(\Software\Classes\NMProtocol.ProtocolHandler.1)",
            R"(\Software\Classes\NovellMessengerImport)",
            R"(\Software\Classes\Protocols\Handler\nim)",
            R"(\Software\Classes\TypeLib\{15FB0FB0-4E00-463F-A3A1-A2B90CCE8EB4})",
            R"(\Software\Classes\TypeLib\{2E718429-AAC2-41B5-9188-28ECB5847FD7})",
            R"(\Software\Classes\TypeLib\{4184F6AC-5302-11D6-82F4-00B0D011982F})",
            R"(\Software\Classes\TypeLib\{98CADB32-66FC-11D4-80F6-00C04F255980})",
            R"(\Software\MicroSoft\Windows\CurrentVersion\App Paths\nmcl32.exe)",
            R"(\Software\MicroSoft\Windows\CurrentVersion\Uninstall\{3FC0833E-073C-4D5D-A046-74BC32358CB3})",
            R"(\Software\Novell\Messenger)",
            R"(\Software\Novell\NIMAPI)",
        },
    };
    return table;
}

}  // namespace purgent
