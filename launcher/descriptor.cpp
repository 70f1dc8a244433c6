#include "descriptor.h"

#include <iterator>

namespace {

// The component's own folder comes first, so its files shadow any toolbox
// file of the same name; the toolbox folders follow in the runtime's order.
const char* const searchPathFolders[] = {
    "zembraTolvique/",
    "toolbox/compiler/deploy/",
    "Users/zembra/Documents/zembraTolvique/scripts/",
    "Users/zembra/Documents/zembraTolvique/hostbridge/extensions/",
    "$TOOLBOXMATLABDIR/general/",
    "$TOOLBOXMATLABDIR/ops/",
    "$TOOLBOXMATLABDIR/lang/",
    "$TOOLBOXMATLABDIR/elmat/",
    "$TOOLBOXMATLABDIR/elfun/",
    "$TOOLBOXMATLABDIR/specfun/",
    "$TOOLBOXMATLABDIR/matfun/",
    "$TOOLBOXMATLABDIR/datafun/",
    "$TOOLBOXMATLABDIR/polyfun/",
    "$TOOLBOXMATLABDIR/funfun/",
    "$TOOLBOXMATLABDIR/sparfun/",
    "$TOOLBOXMATLABDIR/scribe/",
    "$TOOLBOXMATLABDIR/graph2d/",
    "$TOOLBOXMATLABDIR/graph3d/",
    "$TOOLBOXMATLABDIR/specgraph/",
    "$TOOLBOXMATLABDIR/graphics/",
    "$TOOLBOXMATLABDIR/uitools/",
    "$TOOLBOXMATLABDIR/strfun/",
    "$TOOLBOXMATLABDIR/imagesci/",
    "$TOOLBOXMATLABDIR/iofun/",
    "$TOOLBOXMATLABDIR/audiovideo/",
    "$TOOLBOXMATLABDIR/timefun/",
    "$TOOLBOXMATLABDIR/datatypes/",
    "$TOOLBOXMATLABDIR/verctrl/",
    "$TOOLBOXMATLABDIR/codetools/",
    "$TOOLBOXMATLABDIR/helptools/",
    "$TOOLBOXMATLABDIR/winfun/",
    "$TOOLBOXMATLABDIR/demos/",
    "toolbox/local/",
    "toolbox/compiler/",
    "toolbox/database/database/",
};

const char* const classPathEntries[] = {"java/jar/toolbox/database.jar"};

// Empty lists: one empty text, count 0.
const char* const noTexts[] = {""};

constexpr TextList listOf(const char* const* texts, std::size_t count)
{
    return TextList{texts, static_cast<int32_t>(count)};
}

}  // namespace

// The public key is a 1024-bit RSA key (exponent 17) as a DER
// SubjectPublicKeyInfo; the runtime uses it to check the component's files.
const ComponentDescriptor componentDescriptor = {
    "30819D300D06092A864886F70D010101050003818B0030818702818100BCCAB6258E2E29811F6948"
    "485D739628867C24BA28558FC31C4D9921BB24EDC75CE1D83134D607AA495EAB842A1FB1FC192BB8"
    "FCD3D18CA98D5A00A8F7C1DDDDA3D241F0532DFC72468D223FB499D270152F7DD51573956BCAB956"
    "8FD13E3072D7B058E8A024A78737DB9EE1963ADC9FAFF79E4ACB8FB31729CF1460C5BDFAA7020111",
    "zembraTolvique",
    "",
    "F9C8CED831EDC2285C2C8BBC770057330D58C981D6987E850D4F1C2A22C91E9C"
    "6347DEFC087CB47A27F0725E18FF404E16789ECC263FCB65BB91DA5AE496F1C9"
    "B32820E2164A9BAD576777C9BF121BA38AF9729E1C6BE1B784F6AF506CC88F5F"
    "266BA8AD62ADAEE249529B5491A12A3986FABDB45A5FCAED8947FB5399853112",
    listOf(searchPathFolders, std::size(searchPathFolders)),
    listOf(classPathEntries, std::size(classPathEntries)),
    listOf(noTexts, 0),
    "zembratolvique",
    listOf(noTexts, 0),
};
