#include "scene/TextFont.h"

#include <QByteArray>
#include <QtGlobal>

#include <Inventor/elements/SoFontNameElement.h>
#include <Inventor/elements/SoSubElement.h>

// SoFontNameElement with FreeSerif as the value every state starts with.
class TextFontElement : public SoFontNameElement
{
    typedef SoFontNameElement inherited;
    SO_ELEMENT_HEADER(TextFontElement);

public:
    static void initClass()
    {
        SO_ELEMENT_INIT_CLASS(TextFontElement, inherited);
        // States make their elements through the type they enable:
        // SoFontNameElement's now makes this one.
        SoType::overrideType(SoFontNameElement::getClassTypeId(), &TextFontElement::createInstance);
    }

    void init(SoState *state) override
    {
        inherited::init(state);
        fontName = SbName("FreeSerif");
    }

    // SoFontNameElement's own test wants its exact type, and would tell
    // every glyph cache and display list of a text that it is out of date.
    SbBool matches(const SoElement *element) const override
    {
        return element->getTypeId() == TextFontElement::getClassTypeId() &&
               static_cast<const TextFontElement *>(element)->fontName == fontName;
    }

protected:
    ~TextFontElement() override = default;
};

SO_ELEMENT_SOURCE(TextFontElement);

namespace {


} // namespace

void initTextFont()
{
    // Coin opens these libraries itself, by default through the -dev
    // packages' unversioned links; a user's machine has only the versioned
    // ones. An environment that names others keeps its choice.
    const char *libraries[][2] = {{"COIN_FREETYPE2_LIBNAME", "libfreetype.so.6"},
                                  {"COIN_FONTCONFIG_LIBNAME", "libfontconfig.so.1"},
                                  {"COIN_GLU_LIBNAME", "libGLU.so.1"}};
    for (const auto &library : libraries)
        if (!qEnvironmentVariableIsSet(library[0]))
            qputenv(library[0], QByteArray(library[1]));
    TextFontElement::initClass();
}
