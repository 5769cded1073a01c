#include "registry/machinewide_tables.h"

namespace purgent {

const ApplicationEntriesTable& ApplicationEntries() {
    static const ApplicationEntriesTable table{
        .appPaths = KeyTable()
            .Under(R"(\Software\Microsoft\Windows\CurrentVersion\App Paths\)", {
                "ADDRBOOK.EXE", "cplace.exe", "GrpWise.exe", "GWDsktop.exe"})
            .Build(),
        .installerFolders = R"(\Software\Microsoft\Windows\CurrentVersion\Installer\Folders)",
        .userProgramsFolder = R"(\Novell GroupWise\)",
        .groupWiseFolders = {R"(GWCheck\)", R"(OFViews\)", R"(OFViews\win\)", R"(PPForms\)"},
        .upgradeCodeAndSystemProduct = KeyTable()
            .Key(R"(\Software\Microsoft\Windows\CurrentVersion\Installer\UpgradeCodes\7090B36299023AC48902BDC961E152BA)")
            .Key(R"(\Software\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Products\4534E8807F21A7143B694F41E70C5870)")
            .Build(),
        .installerUserData = R"(\Software\Microsoft\Windows\CurrentVersion\Installer\UserData)",
        .clientProduct = "96C870DFC415EFB4B814255E25456303",
        .componentsKey = R"(\Components)",
        .productsKey = R"(\Products\)",
        .uninstallEntries = KeyTable()
            .Under(R"(\Software\Microsoft\Windows\CurrentVersion\Uninstall\)", {
                "GroupWise5UninstallKey", "{FD078C69-514C-4BFE-8B41-52E552543630}", "GWTIP", "GWX"})
            .Build(),
        .helpEntries = KeyTable()
            .Under(R"(\Software\Microsoft\Windows\Help\)", {
                "gwcma1br.dll", "gwcmb1br.dll", "gwcma1cs.dll", "gwcmb1cs.dll", "gwcma1ct.dll",
                "gwcmb1ct.dll", "gwcma1cz.dll", "gwcmb1cz.dll", "gwcma1de.dll", "gwcmb1de.dll",
                "gwcma1dk.dll", "gwcmb1dk.dll", "gwcma1es.dll", "gwcmb1es.dll", "gwcma1fr.dll",
                "gwcmb1fr.dll", "gwcma1it.dll", "gwcmb1it.dll", "gwcma1jp.dll", "gwcmb1jp.dll",
                "gwcma1kr.dll", "gwcmb1kr.dll", "gwcma1ma.dll", "gwcmb1ma.dll", "gwcma1nl.dll",
                "gwcmb1nl.dll", "gwcma1no.dll", "gwcmb1no.dll", "gwcma1pl.dll", "gwcmb1pl.dll",
                "gwcma1ru.dll", "gwcmb1ru.dll", "gwcma1su.dll", "gwcmb1su.dll", "gwcma1sv.dll",
                "gwcmb1sv.dll", "gwcma1us.dll", "gwcmb1us.dll"})
            .Build(),
        .novellKeys = KeyTable()
            .Key(R"(\Software\Novell\GroupWise)")
            .Key(R"(\Software\Novell\GroupWise 5.5)")
            .Build(),
        // Directly under HKEY_LOCAL_MACHINE, not under its Software\Classes.
        .contactFileType = {.path = R"(\.vcf)", .markers = {"GroupWise"}},
        .mailNewsAndUninstall = KeyTable()
            .Key(R"(\Software\Clients\Mail\GroupWise)")
            .Key(R"(\Software\Clients\News\GroupWise)")
            .Under(R"(\Software\Microsoft\Windows\CurrentVersion\Uninstall\)", {
                "GroupWiseUninstallKey", "GWMLTO", "GWHTM"})
            .Build(),
        .freeBusyKeys = {R"(\SOFTWARE\Microsoft\Office\10.0\Outlook\SchedulingInformation\FreeBusySupport)",
                         R"(\SOFTWARE\Microsoft\Office\11.0\Outlook\SchedulingInformation\FreeBusySupport)"},
        .freeBusyValue = "NGW",
        .folderNamesKey = R"(\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\Folders)",
        .folderNameMarkers = {"GroupWise", "B9A93A85-1997-4381-8979-4B0BB28AEBC7"},
        // The last three find nothing left; each still shows its path and counts.
        .systemComponentTrees = KeyTable()
            .Under(R"(\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\)", {
                "02E53555536F37F489E277B9CE7F9ACC", "03719A9723AB13845AFDDE273B8FE5E9",
                "0511BD06EBDFDC045AB9B0B55E18EB54", "0AEE6D1450A1B3B4EA0E7FF49E60B6ED",
                "0511BD06EBDFDC045AB9B0B55E18EB54", "0511BD06EBDFDC045AB9B0B55E18EB54",
                "0511BD06EBDFDC045AB9B0B55E18EB54"})
            .Build(),
        .systemComponents =
            R"(\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\)",
        .secondProduct = "58A39A9B799118349897B4B02BA8BE7C",
        .systemComponentCodes = {
            "02E53555536F37F489E277B9CE7F9ACC", "03719A9723AB13845AFDDE273B8FE5E9",
            "0511BD06EBDFDC045AB9B0B55E18EB54", "0AEE6D1450A1B3B4EA0E7FF49E60B6ED",
            "0B150AC107B12D11A9DD0006794C4E25", "0B3BBBFA7D760B942985961C23A9B5F1",
            "0B55AD7F13D3E474B803671323D90317", "0C678122109C3424EB6F699788D8DC4F",
            "0C80083303B02B744BAC0BB9080A9E58", "0CE8E563F32CA2E4A8F4CFF36D6B1E72",
            "0D1E9494F9C6B0342A51056C2F77C3F5", "0E9FFBC71A32D244081709F2CFD45D97",
            "0FB4C2FF1938F5A49B0AA817A60FB6E0", "100681000E346EB4A971D0C1C2F0297D",
            "1454FD71B6C5EAF40AD7EC88CE9F9AE7", "1FD524B10196FCC419499753ACB2BF33",
            "215B84D78681EB3488E24ED9F2E96CF1", "24417166DFC2F6344A2C2FF6E103FBD9",
            "25D69437F29C6FC4F96604A422B72F5E", "2695FA6F8A318A040B3D4043E9952178",
            "26CD461E9969FBE45A6F71009E56549D", "26EA530A510287843A00CB07A27D5369",
            "2BFCA251FB42B9543B4108C328018C7E", "2D31E50BC1851934CBF1E43D463E7314",
            "2E63CFD322FAF9E4C9DE681059AB0075", "316EDA75528072442B2AA1E107E5FF36",
            "3227CE435B5EE8E40B341819B5407A0B", "349FB0E34F0DCFC4DABE048636EC6D93",
            "35460876A1D3E8340B96E50150638AAC", "3669E6AE9FFE9894CAF698EF4FBBFA3B",
            "377037D06E8603143A3AC09F7528D2AB", "3876493235159914DB5CE288C254A069",
            "3B2C2B7596572574083C581237153651", "3B333AFA37F29CB4F8FABC2184277D7E",
            "47BD2312FACE5DC48BD1C906FC8FEAFB", "4A2B5CD0EDC2CC144A450FF0669884B8",
            "4CDE2130DF89D184F9F5EA4D6EC9D92B", "5076482617627454BA5458D4CC393B7C",
            "50AE9C070E1E4BD43AAF5A40B20D1BD5", "53A456BFABB747C46813F679761FAD90",
            "53CFA29F5C470224DBE0FF6337A896AA", "55ED8B64DE61EC24784E82239D479ED1",
            "57081F90A475ACC4998902AD1A0C04C8", "572C9C6F2BC6CFB44A0D3E6080C662D9",
            "5B856F8C7B0560D449E0E5CAC2958C21", "5BB2A4FC68FD382498D8703169969965",
            "5E48A9A7D0627584BB084B14B33D8545", "5F8E73D97E020EA4FABCBCF8A59F693D",
            "5FA2834F8386A5C408647E89DC78BE50", "6078E1AA0E090E64790F328B55EE0E28",
            "608B04AF237FC534891F0C7C383FFEF7", "62D8A062C70495642A5BA19127AB7FF7",
            "63FA369E5DCA30C4094C6BC370061C0E", "65521DD1F5778A94082F20AB236A9575",
            "695DE787340F8B54097B5609676D8457", "6B150AC107B12D11A9DD0006794C4E25",
            "6C1778AE6392055498A9DA6F2739F788", "6D7013F8ABDCDE943A3B3089C739B1D2",
            "708BF126B79CFF94EB80B94891FD934B", "726F2BB2659779F40B5F5712D833EE0D",
            "741E6922C8495C940A171898D3D21CD0", "751BEDC0BB456524598C5D0CD8588DB6",
            "79D94CBAA71DF834697374FA5BA797C1", "7A17F1B46C057B443ADA6B3C75B48B69",
            "7C4AC8FE4A652624886AD58F17798473", "878510A954EDF794EA84D13F4003C3BE",
            "8C55608E02085C94DA43F1CA60F4B567", "8C71CAB3249EE27479E5788385A4B2AC",
            "94FB7165591953C49BDA8F1D56ED52BB", "95E29E7BFD281BD45AE8B1A5D6DE25A1",
            "975CE6E96C9CEB748B03A4641C8290EB", "9C4F32D474E25234787A957A6180503E",
            "9F16E43E0E418684E94B4B8B680E93F5", "9F797A74738E336498CFDA7DEAE0BEC3",
            "A64C9B8A9627F7A498397FC68B5DCA29", "AB4993037846EA74FAD1A76F80E8BEBD",
            "AF7EA7E61ADFDCD42A17847A22B26C6F", "B155D3B8D3F29B1468B6EAB225835626",
            "B2D5580319EFEE640A30C66DF3EC5F97", "B358801F32813014884275DDC032A127",
            "B62A9B3594AD3A54ABBA271B8584CFF1", "BD3A8AFF9D9C6B44C8CD9AF4BA20CD83",
            "BFD1D639B46CE134880FAE70EB16E84C", "C722F251EC84C554BAE999670D0E10B4",
            "CA54E99F725A5744BB0EF90F9179F45C", "CCE8BBE8460A313438C0B6ED14C7D751",
            "CE82F89F1B24C5447BFAB93BEC7806C7", "CFA9E46BF2FDB8C43A9BBF399E469B51",
            "D28A6C7000B91B447BB69982932031CB", "D3332349F822FC94EA73916D3A541716",
            "D42E65F9EA2926E49A4600DFB87A2072", "D712FD6CAE3B17F449C9CD78EA0AA09C",
            "D740A829F5C0A724DB6DA693EB006ED8", "DA4189B1F842418408F0BD9AB2EAB4BB",
            "DC59EAA3295F7E64981AB96517C74431", "E57E280D2A9F1E143BBC450A043E168A",
            "E746B9A05A4397045AF6139F25B7F653", "EDAB0EB5D92BA8A47AB728C2F8672E25",
            "EE4F8569AC2F9EB4AB2A0AC4EE416EED", "EF13D32178E1BB34B9D9D33BC027FC99",
            "EF7C9ABDB67072648868C9413FA3B735", "F14AAECEAC52C8F44AFCCF376E303095",
            "F19BBDB7F975103449DD3910B428EC0B", "F2ED731ECAA3D0744A403A7A64BD87B9",
            "F3A7A1A28166A584894F7157B01F06BA", "F3EF9D9557ACCF947B7338F904A91790",
            "F689F87AD4790DB4DAA9419F6A9D4531", "F7B900112D828134FACA823A77C3226B",
            "F91070193063B814EB6560F84313B54C", "F9352256F9E8D9548929F4AC40AD3D1F",
            "F96C40A0B5AA87A438ECC8462225CD34", "FBEDDDD174AAA244DAD0140E7C1B7695",
            "FCAA9190E5A60CC469A6CB8254B94B21", "FDF559C6545E37D49930A656AAE67994",
            "FFD08B3645DC698409FEC1E31F144EC6"},
        .secondProductRecords = KeyTable()
            .Key(R"(\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Products\58A39A9B799118349897B4B02BA8BE7C)")
            .Key(R"(\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\{B9A93A85-1997-4381-8979-4B0BB28AEBC7})")
            .Key(R"(\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\8AE32CC33690E3049B7DEF053DF7ABB9)")
            .Build()};
    return table;
}

}  // namespace purgent
