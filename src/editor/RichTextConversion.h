#pragma once

#include "editor/DocumentPictures.h"
#include "richtext/RichDocument.h"

class QTextCursor;
class QTextDocument;

namespace tavro {

// Inserts the document at the cursor: its paragraphs become blocks, its runs
// formatted text and its pictures images. The first paragraph joins the
// cursor's block and takes its layout only when `firstParagraphLayout`.
void InsertRichDocument(QTextCursor& cursor, const Document& document, DocumentPictures& pictures,
                        bool firstParagraphLayout);

// The part of a QTextDocument between two positions as a rich document;
// every block it touches is a paragraph. Text without a font family or size
// of its own takes the QTextDocument's default font.
Document RichDocumentFromRange(const QTextDocument& document, int from, int to,
                               const DocumentPictures& pictures);

}  // namespace tavro
