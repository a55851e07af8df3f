#pragma once
// A text drawn as a picture of its letters, for the 3-D view's far texts.

class SoNode;
class SoVRMLShape;
class SoVRMLText;

// A shape that draws `text` (a shape whose geometry is a Text) as one
// rectangle in the text's own plane, textured with its letters as Coin
// shapes them, `linePixels` high per line, in the text's material. Null
// when the text has nothing to draw.
SoNode *textPicture(const SoVRMLShape *text, int linePixels);

// A shape that draws `text` as a rectangle where its letters are, from x =
// left to right, in half the strength of its material's colour: what a text
// looks like from afar. Null when the text has nothing to draw.
SoNode *textSmudge(const SoVRMLShape *text, float left, float right);

// The height of a line of `text`: its font's size.
float lineHeight(const SoVRMLText *text);
