#include "publication/publication_script.h"

#include "publication/page_effect_source.h"
#include "publication/page_effect_text.h"
#include "runtime/system.h"

#include <algorithm>
#include <cassert>

namespace lumvrex {
namespace {

// A fixed line given in UTF-8, as its Windows-1252 bytes.
void fixedLine(std::string &out, std::string_view utf8)
{
    TextFlaws flaws;
    [[maybe_unused]] const Status encoded = appendScriptText(out, utf8, flaws);
    assert(encoded);
    out += "\r\n";
}

// A line of an ASCII prefix and an encoded value.
void line(std::string &out, std::string_view prefix, std::string_view value)
{
    out += prefix;
    out += value;
    out += "\r\n";
}

void appendMasterBlock(std::string &out, const EncodedInputs &in)
{
    fixedLine(out, "NeoBook Windows Document File");
    fixedLine(out, "(C)1993-97 NeoSoft Corp.");
    line(out, "Title = ", in.title);
    fixedLine(out, "Author=");
    fixedLine(out, "Language = US");
    fixedLine(out, "NeoBookVer=3,10");
    fixedLine(out, "ScreenColors = 16777216");
    line(out, "ScreenWidth = ", in.width);
    line(out, "ScreenHeight = ", in.height);
    fixedLine(out, "AllowESC = Yes");
    fixedLine(out, "AllowPageUpDn = Yes");
    fixedLine(out, "TabWindows = No");
    fixedLine(out, "TabButtons = No");
    fixedLine(out, "FullScreen = Yes");
    fixedLine(out, "StayOnTop = No");
    fixedLine(out, "Sizeable = No");
    fixedLine(out, "AutoReturn = No");
    fixedLine(out, "ReturnTime = 5");
    fixedLine(out, "ReturnAction=");
    fixedLine(out, "Password=");
    line(out, "Icon=", in.icon);
    fixedLine(out, "CompiledName=");
    fixedLine(out, "FilesIncluded = 1");
    fixedLine(out, "FontsIncluded = 2");
    fixedLine(out, "FontsToCompile=");
    fixedLine(out, "CopyExternalFiles = No");
    fixedLine(out, "ExternalPath=");
    fixedLine(out, "SETUPBUILDDIR=");
    fixedLine(out, "SETUPMEDIA = 1");
    fixedLine(out, "SETUPINSTDIR=C:\\MyProgram");
    fixedLine(out, "SETUPPROGGRP=");
    fixedLine(out, "SETUPTITLE = Configuración");
    fixedLine(out, "SETUPCOLORS=16711680|0|65535");
    fixedLine(out, "AppCursor=");
    fixedLine(out, "HotspotCursor=");
    fixedLine(out, "CompressImages = Yes");
    fixedLine(out, "ExtractOp = 129");
    fixedLine(out, "ExtractDir=");
    fixedLine(out, "L_OK = Aceptar");
    fixedLine(out, "L_CANCEL = cancelar");
    fixedLine(out, "L_YES = Sí");
    fixedLine(out, "L_NO = No");
    fixedLine(out, "L_CLOSE = Cerrar");
    fixedLine(out, "L_ERRORTITLE = Error");
    fixedLine(out, "L_FINDTITLE = Encontrar");
    fixedLine(out, "L_FINDPROMPT = Encontrar & qué");
    fixedLine(out, "L_FINDFIRST = Encontrar & primero");
    fixedLine(out, "L_FINDNEXT = Encontrar & siguiente");
    fixedLine(out, "L_FINDERROR=Buscar texto no encontrado.");
    fixedLine(out, "L_PWORDTITLE=Se requiere contraseña");
    fixedLine(out, "L_PWORDMSG=Para salir de esta publicación, debe introducir la contraseña correcta.");
    fixedLine(out, "L_PWORDPROMPT=&Contraseña:");
    fixedLine(out, "L_PWORDERROR=¡Esa no es la contraseña correcta!");
    fixedLine(out,
              "L_MEDIAERROR=Para ejecutar este tipo de fichero, debe instalar el hardware y/o software de "
              "multimedia apropiado.");
    fixedLine(out, "L_INTERNETERROR=Imposible ubicar el software buscador de Internet.");
    fixedLine(out, "L_PAGEPROMPT=Imprimiendo página:");
    fixedLine(out, "L_ABORTFUNCTION=¿Desea cancelar esta función?");
    fixedLine(out, "L_EXTRACTERROR=Este fichero no pudo extraerse y por tanto no puede ejecutarse.");
    fixedLine(out,
              "L_INSTDIRPROMPT=Por favor, teclee el lector y el directorio donde desee instalar el programa. "
              "Para aceptar el lector y directorio que aparece por defecto, pulse Enter.");
    fixedLine(out, "L_INSTFOLDERPROMPT=¿Desea crear un archivo de programa?");
    fixedLine(out, "L_INSTRUNPROMPT=¿Desea ejecutarlo?");
    fixedLine(out, "L_INSTDISKPROMPT=Por favor, inserte el disco número");
    fixedLine(out, "L_INSTDISKERROR=Ese disquete no es el correcto, inténtelo de nuevo.");
    fixedLine(out, "L_INSTGENERROR=Instalación completada.");
    fixedLine(out, "L_INSTEXITPROMPT=¿Desea cancelar la instalación?");
    fixedLine(out, "L_INSTWINTITLE = Configuración");
    fixedLine(out, "L_INSTPROGTITLE=Extrayendo ficheros...");
    fixedLine(out, "L_INSTSUBTITLE=");
    fixedLine(out, "MasterPage");
}

// Appends the texts one after the other, making room for all of them at
// once: a page is a handful of texts, and the largest script has 32,767.
// Fixed texts are copied with the length they are compiled with.
template <typename... Texts> void append(std::string &out, const Texts &...texts)
{
    const std::size_t size = (std::string_view(texts).size() + ...);
    out.resize(out.size() + size);
    char *at = out.data() + out.size() - size;
    ((at = std::copy_n(std::string_view(texts).data(), std::string_view(texts).size(), at)), ...);
}

// Adds one to a number written in decimal digits.
void countUp(std::string &number)
{
    std::size_t at = number.size();
    while (at > 0 && number[at - 1] == '9')
        number[--at] = '0';
    if (at == 0)
        number.insert(number.begin(), '1');
    else
        ++number[at - 1];
}

// The 28 lines of the page numbered number, whose picture is picture.
void appendPage(std::string &out, const EncodedInputs &in, std::string_view number, std::string_view effect,
                std::string_view picture)
{
    // One line of code for each line of the page.
    // clang-format off
    append(out, "NewPage=page", number, "\r\n"
                "PageStyle = 0\r\n"
                "PageColor = 15728832\r\n"
                "PageWallPaper=\r\n"
                "ShowMaster = Yes\r\n"
                "PageEffect = ", effect, "\r\n"
                "EffectSpeed = 0\r\n"
                "PageAction=\r\n"
                "ExitAction=\r\n"
                "ObjectType = 4\r\n"
                "X1 = 0\r\n"
                "Y1 = 0\r\n"
                "X2 = ", in.width, "\r\n"
                "Y2 = ", in.height, "\r\n"
                "LineColor = 0\r\n"
                "LineWidth = 0\r\n"
                "LineStyle = 0\r\n"
                "LineOrigin = 0\r\n"
                "FillColor = ", in.backColor, "\r\n"
                "FillPattern = 1\r\n"
                "FillMode = 0\r\n"
                "Scale=Yes\r\n"
                "AspectRatio = Yes\r\n"
                "TransImages = No\r\n"
                "FileName=", picture, "\r\n"
                "WindowFlags = 0\r\n"
                "VScrollPos = 4\r\n"
                "HScrollPos = 1\r\n");
    // clang-format on
}

} // namespace

std::string publicationScript(const EncodedInputs &inputs, PageEffectSource &effects, char decimalSeparator)
{
    std::string script;
    appendMasterBlock(script, inputs);
    const std::size_t masterSize = script.size();
    const PageList &pages = inputs.pages;
    char effect[kMaxPageEffectLength];
    std::string number = "0";
    for (std::size_t i = 0; i < pages.size(); ++i, countUp(number)) {
        effects.reseed();
        const std::size_t effectSize =
            formatPageEffect(pageEffectValue(effects.next()), decimalSeparator, effect);
        appendPage(script, inputs, number, std::string_view(effect, effectSize), pages[i]);
        if (i == 0) {
            // The other pages take what the first takes but for the picture,
            // a number of up to four digits more and a longer effect: room
            // for all of them at once, so that the script is never copied.
            const std::size_t pageSize =
                script.size() - masterSize - pages[0].size() + 4 + kMaxPageEffectLength;
            script.reserve(masterSize + pages.size() * pageSize + pages.totalBytes());
            adviseLargePages(script.data(), script.capacity());
        }
    }
    return script;
}

} // namespace lumvrex
