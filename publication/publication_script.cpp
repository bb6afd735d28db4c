#include "publication/publication_script.h"

#include "publication/page_effect_source.h"
#include "publication/page_effect_text.h"
#include "runtime/chunked_output.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace lumvrex {
namespace {

// Collects lines. Fixed lines are given in UTF-8 and encoded here; values
// come already encoded.
class Lines
{
public:
    explicit Lines(std::string &into)
        : m_text(into)
    { }

    void line(std::string_view fixed)
    {
        TextFlaws flaws;
        [[maybe_unused]] const Status encoded = appendScriptText(m_text, fixed, flaws);
        assert(encoded);
        m_text += "\r\n";
    }
    void line(std::string_view asciiPrefix, std::string_view encodedValue)
    {
        m_text += asciiPrefix;
        m_text += encodedValue;
        m_text += "\r\n";
    }

private:
    std::string &m_text;
};

void writeMasterBlock(std::string &into, const EncodedInputs &in)
{
    Lines out(into);
    out.line("NeoBook Windows Document File");
    out.line("(C)1993-97 NeoSoft Corp.");
    out.line("Title = ", in.title);
    out.line("Author=");
    out.line("Language = US");
    out.line("NeoBookVer=3,10");
    out.line("ScreenColors = 16777216");
    out.line("ScreenWidth = ", in.width);
    out.line("ScreenHeight = ", in.height);
    out.line("AllowESC = Yes");
    out.line("AllowPageUpDn = Yes");
    out.line("TabWindows = No");
    out.line("TabButtons = No");
    out.line("FullScreen = Yes");
    out.line("StayOnTop = No");
    out.line("Sizeable = No");
    out.line("AutoReturn = No");
    out.line("ReturnTime = 5");
    out.line("ReturnAction=");
    out.line("Password=");
    out.line("Icon=", in.icon);
    out.line("CompiledName=");
    out.line("FilesIncluded = 1");
    out.line("FontsIncluded = 2");
    out.line("FontsToCompile=");
    out.line("CopyExternalFiles = No");
    out.line("ExternalPath=");
    out.line("SETUPBUILDDIR=");
    out.line("SETUPMEDIA = 1");
    out.line("SETUPINSTDIR=C:\\MyProgram");
    out.line("SETUPPROGGRP=");
    out.line("SETUPTITLE = Configuración");
    out.line("SETUPCOLORS=16711680|0|65535");
    out.line("AppCursor=");
    out.line("HotspotCursor=");
    out.line("CompressImages = Yes");
    out.line("ExtractOp = 129");
    out.line("ExtractDir=");
    out.line("L_OK = Aceptar");
    out.line("L_CANCEL = cancelar");
    out.line("L_YES = Sí");
    out.line("L_NO = No");
    out.line("L_CLOSE = Cerrar");
    out.line("L_ERRORTITLE = Error");
    out.line("L_FINDTITLE = Encontrar");
    out.line("L_FINDPROMPT = Encontrar & qué");
    out.line("L_FINDFIRST = Encontrar & primero");
    out.line("L_FINDNEXT = Encontrar & siguiente");
    out.line("L_FINDERROR=Buscar texto no encontrado.");
    out.line("L_PWORDTITLE=Se requiere contraseña");
    out.line("L_PWORDMSG=Para salir de esta publicación, debe introducir la contraseña correcta.");
    out.line("L_PWORDPROMPT=&Contraseña:");
    out.line("L_PWORDERROR=¡Esa no es la contraseña correcta!");
    out.line("L_MEDIAERROR=Para ejecutar este tipo de fichero, debe instalar el hardware y/o software de "
             "multimedia apropiado.");
    out.line("L_INTERNETERROR=Imposible ubicar el software buscador de Internet.");
    out.line("L_PAGEPROMPT=Imprimiendo página:");
    out.line("L_ABORTFUNCTION=¿Desea cancelar esta función?");
    out.line("L_EXTRACTERROR=Este fichero no pudo extraerse y por tanto no puede ejecutarse.");
    out.line("L_INSTDIRPROMPT=Por favor, teclee el lector y el directorio donde desee instalar el programa. "
             "Para aceptar el lector y directorio que aparece por defecto, pulse Enter.");
    out.line("L_INSTFOLDERPROMPT=¿Desea crear un archivo de programa?");
    out.line("L_INSTRUNPROMPT=¿Desea ejecutarlo?");
    out.line("L_INSTDISKPROMPT=Por favor, inserte el disco número");
    out.line("L_INSTDISKERROR=Ese disquete no es el correcto, inténtelo de nuevo.");
    out.line("L_INSTGENERROR=Instalación completada.");
    out.line("L_INSTEXITPROMPT=¿Desea cancelar la instalación?");
    out.line("L_INSTWINTITLE = Configuración");
    out.line("L_INSTPROGTITLE=Extrayendo ficheros...");
    out.line("L_INSTSUBTITLE=");
    out.line("MasterPage");
}

void writePageParts(std::array<std::string, 4> &parts, const EncodedInputs &in)
{
    // Each part ends with the prefix of a line whose value is the page's own.
    parts[0] = "NewPage=page"; // the page's 0-based index

    Lines part1(parts[1]);
    part1.line("");
    part1.line("PageStyle = 0");
    part1.line("PageColor = 15728832");
    part1.line("PageWallPaper=");
    part1.line("ShowMaster = Yes");
    parts[1] += "PageEffect = "; // the page's effect

    Lines part2(parts[2]);
    part2.line("");
    part2.line("EffectSpeed = 0");
    part2.line("PageAction=");
    part2.line("ExitAction=");
    part2.line("ObjectType = 4");
    part2.line("X1 = 0");
    part2.line("Y1 = 0");
    part2.line("X2 = ", in.width);
    part2.line("Y2 = ", in.height);
    part2.line("LineColor = 0");
    part2.line("LineWidth = 0");
    part2.line("LineStyle = 0");
    part2.line("LineOrigin = 0");
    part2.line("FillColor = ", in.backColor);
    part2.line("FillPattern = 1");
    part2.line("FillMode = 0");
    part2.line("Scale=Yes");
    part2.line("AspectRatio = Yes");
    part2.line("TransImages = No");
    parts[2] += "FileName="; // the page's picture

    Lines part3(parts[3]);
    part3.line("");
    part3.line("WindowFlags = 0");
    part3.line("VScrollPos = 4");
    part3.line("HScrollPos = 1");
}

// How many digits the numbers 0 to count - 1 take together.
std::uint64_t digitsOfIndexes(std::uint64_t count)
{
    std::uint64_t total = 0;
    std::uint64_t from = 0;
    for (std::uint64_t width = 1, below = 10; from < count; ++width, below *= 10) {
        total += width * (std::min(count, below) - from);
        from = std::min(count, below);
    }
    return total;
}

// A page index in decimal, counted up digit by digit.
class DecimalCounter
{
public:
    const char *data() const { return m_digits.data() + m_first; }
    std::size_t size() const { return 20 - m_first; }
    void increment()
    {
        std::size_t at = 20;
        while (at > m_first && m_digits[at - 1] == '9')
            m_digits[--at] = '0';
        if (at == m_first)
            m_digits[--m_first] = '1';
        else
            ++m_digits[at - 1];
    }

private:
    // Twenty digits, then room for a fixed-size copy of sixteen bytes.
    std::array<char, 36> m_digits = [] {
        std::array<char, 36> digits{};
        digits.fill('0');
        return digits;
    }();
    std::size_t m_first = 19;
};

} // namespace

PublicationScript::PublicationScript(const EncodedInputs &inputs, PageEffectSource &effects,
                                     char decimalSeparator)
    : m_pages(inputs.pages)
{
    writeMasterBlock(m_masterBlock, inputs);
    std::array<std::string, 4> parts;
    writePageParts(parts, inputs);
    m_firstPageStart = parts[0];
    m_afterIndex = parts[1];
    m_afterEffect = parts[2];
    m_betweenPages = parts[3] + parts[0];
    m_lastPageEnd = parts[3];

    const std::size_t pageCount = m_pages.size();
    m_effects.resize(pageCount);
    std::uint64_t effectBytes = 0;
    char text[kMaxPageEffectLength];
    for (ShortText &slot : m_effects) {
        effects.reseed();
        const float effect = pageEffectValue(effects.next());
        slot.size = formatPageEffect(effect, decimalSeparator, text);
        assert(slot.size <= slot.bytes.size()); // effects lie in [0, 15): "8.940697E-07" at the longest
        std::memcpy(slot.bytes.data(), text, slot.bytes.size());
        effectBytes += slot.size;
    }

    std::uint64_t partsSize = 0;
    for (const std::string &part : parts)
        partsSize += part.size();
    m_size = m_masterBlock.size() + pageCount * partsSize + digitsOfIndexes(pageCount) + effectBytes
        + m_pages.totalBytes();
}

Status PublicationScript::writeTo(ByteSink &sink) const
{
    ChunkedOutput out(sink);
    out.append(m_masterBlock);
    DecimalCounter index;
    for (std::size_t i = 0; i < m_pages.size() && out.ok(); ++i, index.increment()) {
        out.append(i == 0 ? m_firstPageStart : m_betweenPages);
        out.appendShort(index.data(), index.size());
        out.append(m_afterIndex);
        out.appendShort(m_effects[i].bytes.data(), m_effects[i].size);
        out.append(m_afterEffect);
        out.append(m_pages[i]);
    }
    if (!m_pages.empty())
        out.append(m_lastPageEnd);
    return out.finish();
}

} // namespace lumvrex
