#include "publication/script_writer.h"

#include "publication/page_effect_text.h"
#include "runtime/line_output.h"
#include "runtime/page_effect_source.h"
#include "runtime/single_text.h"
#include "runtime/windows1252.h"

namespace {

void writeMasterBlock(LineOutput &out, const PublicationInputs &in)
{
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
    out.line(u"SETUPTITLE = Configuración");
    out.line("SETUPCOLORS=16711680|0|65535");
    out.line("AppCursor=");
    out.line("HotspotCursor=");
    out.line("CompressImages = Yes");
    out.line("ExtractOp = 129");
    out.line("ExtractDir=");
    out.line("L_OK = Aceptar");
    out.line("L_CANCEL = cancelar");
    out.line(u"L_YES = Sí");
    out.line("L_NO = No");
    out.line("L_CLOSE = Cerrar");
    out.line("L_ERRORTITLE = Error");
    out.line("L_FINDTITLE = Encontrar");
    out.line(u"L_FINDPROMPT = Encontrar & qué");
    out.line("L_FINDFIRST = Encontrar & primero");
    out.line("L_FINDNEXT = Encontrar & siguiente");
    out.line("L_FINDERROR=Buscar texto no encontrado.");
    out.line(u"L_PWORDTITLE=Se requiere contraseña");
    out.line(u"L_PWORDMSG=Para salir de esta publicación, debe introducir la contraseña correcta.");
    out.line(u"L_PWORDPROMPT=&Contraseña:");
    out.line(u"L_PWORDERROR=¡Esa no es la contraseña correcta!");
    out.line("L_MEDIAERROR=Para ejecutar este tipo de fichero, debe instalar el hardware y/o software de "
             "multimedia apropiado.");
    out.line("L_INTERNETERROR=Imposible ubicar el software buscador de Internet.");
    out.line(u"L_PAGEPROMPT=Imprimiendo página:");
    out.line(u"L_ABORTFUNCTION=¿Desea cancelar esta función?");
    out.line("L_EXTRACTERROR=Este fichero no pudo extraerse y por tanto no puede ejecutarse.");
    out.line("L_INSTDIRPROMPT=Por favor, teclee el lector y el directorio donde desee instalar el programa. "
             "Para aceptar el lector y directorio que aparece por defecto, pulse Enter.");
    out.line(u"L_INSTFOLDERPROMPT=¿Desea crear un archivo de programa?");
    out.line(u"L_INSTRUNPROMPT=¿Desea ejecutarlo?");
    out.line(u"L_INSTDISKPROMPT=Por favor, inserte el disco número");
    out.line(u"L_INSTDISKERROR=Ese disquete no es el correcto, inténtelo de nuevo.");
    out.line(u"L_INSTGENERROR=Instalación completada.");
    out.line(u"L_INSTEXITPROMPT=¿Desea cancelar la instalación?");
    out.line(u"L_INSTWINTITLE = Configuración");
    out.line("L_INSTPROGTITLE=Extrayendo ficheros...");
    out.line("L_INSTSUBTITLE=");
    out.line("MasterPage");
}

// A page block with this file's fields filled in, cut where each page's own
// values go: its index, its effect and its picture. Pages differ only there,
// so the rest is encoded once per file.
class PageBlock
{
public:
    explicit PageBlock(const PublicationInputs &in)
    {
        pageValueLine("NewPage=page"); // the page's 0-based index
        line("PageStyle = 0");
        line("PageColor = 15728832");
        line("PageWallPaper=");
        line("ShowMaster = Yes");
        pageValueLine("PageEffect = "); // the page's effect
        line("EffectSpeed = 0");
        line("PageAction=");
        line("ExitAction=");
        line("ObjectType = 4");
        line("X1 = 0");
        line("Y1 = 0");
        line("X2 = ", in.width);
        line("Y2 = ", in.height);
        line("LineColor = 0");
        line("LineWidth = 0");
        line("LineStyle = 0");
        line("LineOrigin = 0");
        line("FillColor = ", in.backColor);
        line("FillPattern = 1");
        line("FillMode = 0");
        line("Scale=Yes");
        line("AspectRatio = Yes");
        line("TransImages = No");
        pageValueLine("FileName="); // the page's picture
        line("WindowFlags = 0");
        line("VScrollPos = 4");
        line("HScrollPos = 1");
        Q_ASSERT(m_parts.size() == 4);
    }

    void write(LineOutput &out, qsizetype index, PageEffectSource &effects, QChar decimalSeparator,
               const QString &picture) const
    {
        effects.reseed();
        out.write(m_parts[0]);
        out.writeNumber(index);
        out.write(m_parts[1]);
        out.writeEncoded(pageEffectText(pageEffectValue(effects.next()), decimalSeparator));
        out.write(m_parts[2]);
        out.writeEncoded(picture);
        out.write(m_parts[3]);
    }

private:
    void line(QByteArrayView ascii)
    {
        m_parts.back() += ascii;
        m_parts.back() += "\r\n";
    }
    void line(QByteArrayView asciiPrefix, const QString &value)
    {
        m_parts.back() += asciiPrefix;
        windows1252::append(m_parts.back(), value);
        m_parts.back() += "\r\n";
    }
    void pageValueLine(QByteArrayView asciiPrefix)
    {
        m_parts.back() += asciiPrefix;
        m_parts.append(QByteArray("\r\n"));
    }

    QList<QByteArray> m_parts{QByteArray()};
};

} // namespace

bool writePublicationScript(QIODevice &device, const PublicationInputs &inputs, PageEffectSource &effects,
                            const QLocale &locale, QString *error)
{
    Q_ASSERT(inputs.pages.size() <= kMaxPages);
    LineOutput out(device);
    writeMasterBlock(out, inputs);
    const PageBlock page(inputs);
    const QChar decimalSeparator = scriptDecimalSeparator(locale);
    const qsizetype pageCount = inputs.pages.size();
    for (qsizetype i = 0; i < pageCount && out.ok(); ++i)
        page.write(out, i, effects, decimalSeparator, inputs.pages[i]);
    if (out.finish())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}
