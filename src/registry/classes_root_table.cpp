#include "registry/machinewide_tables.h"

namespace purgent {

const ClassesRootTable& ClassesRoot() {
    static const ClassesRootTable table{
        .defaultHandlers = {
            {.path = R"(\Mailto\DefaultIcon)", .markers = {"gwmailto"}},
            {.path = R"(\Mailto\Shell\Open\Command)", .markers = {"gwmailto"}},
            {.path = R"(\nntp\DefaultIcon)", .markers = {"gwmailto"}},
            {.path = R"(\nntp\Shell\Open\Command)", .markers = {"gwmailto"}},
            {.path = R"(\.vcf)", .markers = {"NovellGroupWare"}},
        },
        .trees = KeyTable()
            .Key(R"(\Applications\GrpWise.exe)")
            .Key(R"(\CLSID\{C00BD7C2-38C4-4816-A4DA-9EF6FCACF928})")
            .Key(R"(\CLSID\{4D4998C1-13FF-46D0-9B4A-782D3C49E248})")
            .Key(R"(\Interface\{025B5FE2-7049-11CF-A6B0-00608C85AA11})")
            .Key(R"(\Interface\{0BECAF81-B7A3-459a-902B-74C68FAED552})")
            .Key(R"(\Interface\{168A6F48-792B-4782-A315-DDA85365417B})")
            .Key(R"(\Interface\{36567233-2496-4b1a-b12c-3a50311b27cb})")
            .Key(R"(\Interface\{A1963027-5941-4251-9D7D-1266BFD2213D})")
            // Relative names: no key is open here, so they resolve against the
            // root as well, and the status line shows them without a "\".
            .Key("Novell.GroupWise.FreeBusySupport")
            .Key("Novell.GroupWise.FreeBusySupport.1")
            .Key(R"(\Installer\Features\96C870DFC415EFB4B814255E25456303)")
            .Key(R"(\Installer\Features\58A39A9B799118349897B4B02BA8BE7C)")
            .Key(R"(\Installer\Products\96C870DFC415EFB4B814255E25456303)")
            .Key(R"(\Installer\Products\58A39A9B799118349897B4B02BA8BE7C)")
            .Key(R"(\Installer\Patches\96C870DFC415EFB4B814255E25456303)")
            .Key(R"(\Installer\Patches\58A39A9B799118349897B4B02BA8BE7C)")
            .Key(R"(\Installer\UpgradeCodes\7090B36299023AC48902BDC961E152BA)")
            .Build(),
        .assemblies = R"(\Installer\Win32Assemblies\Global)",
        // The published identities of the MSXML 4 side-by-side assemblies.
        .msxmlAssembly =
            R"(Microsoft.MSXML2,publicKeyToken="6bd6b9abf345378f",version="4.1.0.0",type="win32",processorArchitecture="x86")",
        .msxmlResourceAssembly =
            R"(Microsoft.MSXML2R,publicKeyToken="6bd6b9abf345378f",version="4.1.0.0",type="win32",processorArchitecture="x86")"};
    return table;
}

}  // namespace purgent
