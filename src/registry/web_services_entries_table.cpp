#include "registry/machinewide_tables.h"

namespace purgent {

const WebServicesEntriesTable& WebServicesEntries() {
    static const WebServicesEntriesTable table{
        .helpFiles = {.path = R"(\Software\Microsoft\Windows\Help)", .names = {
            "gwnfy1br.hlp", "gwnfy1cs.hlp", "gwnfy1ct.hlp", "gwnfy1cz.hlp", "gwnfy1de.hlp",
            "gwnfy1dk.hlp", "gwnfy1es.hlp", "gwnfy1fr.hlp", "gwnfy1it.hlp", "gwnfy1jp.hlp",
            "gwnfy1kr.hlp", "gwnfy1ma.hlp", "gwnfy1nl.hlp", "gwnfy1no.hlp", "gwnfy1pl.hlp",
            "gwnfy1ru.hlp", "gwnfy1su.hlp", "gwnfy1sv.hlp", "gwnfy1US.hlp"}},
        .webServicesTrees = KeyTable()
            .Under(R"(\Software\Classes\CLSID\)", {
                "{00b7e0ab-817a-44ad-a04b-d1148d524136}",
                "{7c6e29bc-8b8b-4c3d-859e-af6cd158be0f}",
                "{88d969c0-f192-11d4-a65f-0040963251e5}",
                "{88d969c1-f192-11d4-a65f-0040963251e5}",
                "{88d969c2-f192-11d4-a65f-0040963251e5}",
                "{88d969c3-f192-11d4-a65f-0040963251e5}",
                "{88d969c4-f192-11d4-a65f-0040963251e5}",
                "{88d969c5-f192-11d4-a65f-0040963251e5}",
                "{88d969c6-f192-11d4-a65f-0040963251e5}",
                "{88d969c8-f192-11d4-a65f-0040963251e5}",
                "{88d969c9-f192-11d4-a65f-0040963251e5}",
                "{88d969ca-f192-11d4-a65f-0040963251e5}",
                "{88d969d6-f192-11d4-a65f-0040963251e5}"})
            .Under(R"(\Software\Classes\Interface\)", {
                "{032AAC35-8C0E-4D9D-979F-E3B702935576}",
                "{0C05D096-F45B-4ACA-AD1A-AA0BC25518DC}",
                "{10DC0586-132B-4CAC-8BB3-DB00AC8B7EE0}",
                "{1299EB1B-5B88-433E-82DE-82CA75AD4E04}",
                "{24FB3297-302D-4620-BA39-3A732D850558}",
                "{2933BF80-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF81-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF82-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF83-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF84-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF85-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF86-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF87-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF88-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF89-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF8A-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF8B-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF8C-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF8D-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF8E-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF8F-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF92-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF93-7B36-11D2-B20E-00C04F983E60}",
                "{2933BF95-7B36-11D2-B20E-00C04F983E60}",
                "{2B8DE2FF-8D2D-11D1-B2FC-00C04FD915A9}",
                "{2E01311B-C322-4B0A-BD77-B90CFDC8DCE7}",
                "{2E9196BF-13BA-4DD4-91CA-6C571F281495}",
                "{2ED7290A-4DD5-4B46-BB26-4E4155E77FAA}",
                "{310AFA62-0575-11D2-9CA9-0060B0EC3D39}",
                "{373984C8-B845-449B-91E7-45AC83036ADE}",
                "{3EFAA413-272F-11D2-836F-0000F87A7782}",
                "{3EFAA425-272F-11D2-836F-0000F87A7782}",
                "{3EFAA426-272F-11D2-836F-0000F87A7782}",
                "{3EFAA427-272F-11D2-836F-0000F87A7782}",
                "{3F7F31AC-E15F-11D0-9C25-00C04FC99C8E}",
                "{4D7FF4BA-1565-4EA8-94E1-6E724A46F98D}",
                "{50EA08B0-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08B1-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08B2-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08B3-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08B4-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08B5-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08B6-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08B7-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08B8-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08B9-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08BA-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08BB-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08BC-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08BD-DD1B-4664-9A50-C2F40F4BD79A}",
                "{50EA08BE-DD1B-4664-9A50-C2F40F4BD79A}",
                "{65725580-9B5D-11D0-9BFE-00C04FC99C8E}",
                "{796E7AC5-5AA2-4EFF-ACAD-3FAAF01A3288}",
                "{808F4E35-8D5A-4FBE-8466-33A41279ED30}",
                "{8C033CAA-6CD6-4F73-B728-4531AF74945F}",
                "{AA634FC7-5888-44A7-A257-3A47150D3A0E}",
                "{C90352F4-643C-4FBC-BB23-E996EB2D51FD}",
                "{C90352F5-643C-4FBC-BB23-E996EB2D51FD}",
                "{D4D4A0FC-3B73-11D1-B2B4-00C04FB92596}",
                "{D963D3FE-173C-4862-9095-B92F66995F52}",
                "{E8917260-7579-4BE1-B5DD-7AFBFA6F077B}",
                "{ED8C108D-4349-11D2-91A4-00C04F7969E8}",
                "{F10D27CC-3EC0-415C-8ED8-77AB1C5E7262}",
                "{F52E2B61-18A1-11D1-B105-00805F49916B}",
                "{FA4BB38C-FAF9-4CCA-9302-D1DD0FE520DB}"})
            .Under(R"(\Software\Classes\)", {
                "Msxml2.DOMDocument.4.0", "Msxml2.DSOControl.4.0",
                "Msxml2.FreeThreadedDOMDocument.4.0", "Msxml2.MXHTMLWriter.4.0",
                "Msxml2.MXNamespaceManager.4.0", "Msxml2.MXXMLWriter.4.0",
                "Msxml2.SAXAttributes.4.0", "Msxml2.SAXXMLReader.4.0",
                "Msxml2.ServerXMLHTTP.4.0", "Msxml2.XMLHTTP.4.0", "Msxml2.XMLSchemaCache.4.0",
                "Msxml2.XSLTemplate.4.0"})
            .Key(R"(\Software\Classes\TypeLib\{F5078F18-C551-11D3-89B9-0000F81FE221})")
            .Key(R"(\Software\MicroSoft\Code Store Database\Distribution Units\{88D969C0-F192-11D4-A65F-0040963251E5})")
            // Fixed names, not built from the Windows folder of the machine.
            .Under(R"(\Software\MicroSoft\Windows\CurrentVersion\ModuleUsage\)", {
                "C:/WINNT/System32/msxml4.dll", "C:/WINNT/System32/msxml4a.dll",
                "C:/WINNT/System32/msxml4r.dll"})
            .Build(),
        .sharedDlls = R"(\Software\MicroSoft\Windows\CurrentVersion\SharedDLLs)",
        .groupWiseMarker = R"(\groupwise)",
        .clientMarker = R"(\gw)",
        .writingToolsMarker = R"(\wt)",
        .webServicesMarker = R"(\msxml4)",
        .defaultHandlers = {
            {.path = R"(\Software\Classes\Mailto\DefaultIcon)", .markers = {"gwmailto"}},
            {.path = R"(\Software\Classes\Mailto\Shell\Open\Command)", .markers = {"gwmailto"}},
            {.path = R"(\Software\Classes\News\DefaultIcon)", .markers = {"gwmailto"}},
            {.path = R"(\Software\Classes\News\Shell\Open\Command)", .markers = {"gwmailto"}},
            {.path = R"(\Software\Classes\nntp\DefaultIcon)", .markers = {"gwmailto"}},
            {.path = R"(\Software\Classes\nntp\Shell\Open\Command)", .markers = {"gwmailto"}},
            {.path = R"(\Software\Clients\Mail)", .markers = {"gwmailto"}},
            {.path = R"(\Software\Clients\News)", .markers = {"gwmailto", "GroupWise"}},
        },
        .mapiApps = {.path = R"(\Software\Microsoft\Windows Messaging SubSystem\MSMapiApps)",
                     .names = {"grpwise.exe", "gwcma1.dll"}}};
    return table;
}

}  // namespace purgent
