// KV_XML::Parse: the forgiving markup reader. Line ends are dropped first, so breaks
// inside a tag or a text simply vanish; the joined text is then cut into text and tag
// tokens, and each token is handled as it is cut. Tags are split into words at blanks
// and tabs, never inside double quotes, exactly as KV_STRING::Split does, but in place,
// so a multi-megabyte file costs no per-token string copies.
#include "foundation/xml.h"

#include <cstring>
#include <string>
#include <vector>

namespace
{

typedef KV_XML::NODE NODE;

// A piece of the joined text: start and length.
struct PIECE
{
    const char* text;
    unsigned int length;
};

// The joined text: the buffer without its CR and LF bytes. A zero byte also ends a
// piece when the buffer is split into lines, so it disappears the same way.
std::string JoinLines(const char* text, unsigned int length)
{
    std::string joined;
    joined.resize(length);
    char* out = joined.data();
    for (unsigned int i = 0; i < length; ++i)
    {
        char c = text[i];
        *out = c;
        out += (c != '\r' && c != '\n' && c != 0);
    }
    joined.resize((size_t)(out - joined.data()));
    return joined;
}

// Appends the words of a tag to words: runs between blanks and tabs, where a double
// quote toggles a quoted run in which blanks do not split. A run still inside quotes
// at the end of the tag is dropped, as the string splitter drops it.
void SplitWords(const char* text, unsigned int length, std::vector<PIECE>& words)
{
    bool inQuote = false;
    unsigned int start = 0;
    for (unsigned int i = 0; i < length; ++i)
    {
        char c = text[i];
        if (c == '"')
            inQuote = !inQuote;
        if (inQuote || (c != ' ' && c != '\t'))
            continue;
        if (i > start)
            words.push_back({text + start, i - start});
        start = i + 1;
    }
    if (!inQuote && length > start)
        words.push_back({text + start, length - start});
}

void SetText(KV_STRING& s, const char* text, unsigned int length)
{
    s.AssignN(text, length);
}

class PARSER
{
public:
    PARSER(KV_XML& document, const char* trimChars, bool trim)
        : document(document), current(&document), trimChars(trimChars), trim(trim)
    {
        if (trimChars != nullptr)
            for (const char* t = trimChars; *t != 0; ++t)
                isTrim[(unsigned char)*t] = true;
    }

    // Cuts the joined text into tokens and handles each in order.
    void Run(const char* s, size_t length)
    {
        const char* end = s + length;
        const char* open = Next(s, end, '<');
        Text(s, open);
        while (open < end)
        {
            const char* tag = open + 1;
            const char* close = Next(tag, end, '>');
            Tag(tag, close);
            if (close == end)
                break;
            const char* text = close + 1;
            open = Next(text, end, '<');
            Text(text, open);
        }
    }

private:
    KV_XML& document;
    NODE* current;           // null after a closing tag at the top level
    const char* trimChars;
    bool trim;
    bool isTrim[256] = {};
    std::vector<PIECE> words;
    std::string rewritten;

    static const char* Next(const char* from, const char* end, char c)
    {
        const void* at = memchr(from, c, (size_t)(end - from));
        return at != nullptr ? (const char*)at : end;
    }

    // A text token: dropped when made only of trim characters, else a text node holding
    // it, its leading and trailing trim runs cut when trimming.
    void Text(const char* begin, const char* end)
    {
        if (begin == end)
            return;
        if (trimChars != nullptr)
        {
            const char* p = begin;
            while (p < end && isTrim[(unsigned char)*p])
                ++p;
            if (p == end)
                return;
            if (trim)
            {
                begin = p;
                while (isTrim[(unsigned char)end[-1]])
                    --end;
            }
        }
        NODE* parent = current != nullptr ? current : &document;
        NODE::ITERATOR it = parent->Add(KV_XML_NODE());
        SetText(it.Get()->value.value, begin, (unsigned int)(end - begin));
    }

    // A tag token: a closing tag moves up one level, any other tag adds an element whose
    // first word is its name and whose further words are attributes; it becomes the
    // current node unless the tag ends in "/".
    void Tag(const char* begin, const char* end)
    {
        unsigned int length = (unsigned int)(end - begin);
        if (length == 0)
            return;
        // A slash written right behind the last word ("<b/>") becomes a word of its own.
        if (length > 1 && begin[length - 1] == '/')
        {
            rewritten.assign(begin, length - 1);
            rewritten += " /";
            begin = rewritten.data();
            length = (unsigned int)rewritten.size();
        }
        words.clear();
        SplitWords(begin, length, words);
        if (words.empty())
            return;
        if (current == nullptr)
            current = &document;
        if (begin[0] == '/')
        {
            current = current->parent;
            return;
        }
        NODE::ITERATOR it = current->Add(KV_XML_NODE());
        NODE* element = it.Get();
        SetText(element->value.name, words[0].text, words[0].length);
        for (size_t i = 1; i < words.size(); ++i)
            Attribute(element->value, words[i]);
        if (begin[length - 1] != '/')
            current = element;
    }

    // name=value, name="value" or a bare name (empty value); the lone "/" is no attribute.
    static void Attribute(KV_XML_NODE& node, const PIECE& word)
    {
        if (word.length == 1 && word.text[0] == '/')
            return;
        const char* equals = (const char*)memchr(word.text, '=', word.length);
        unsigned int nameLength = equals ? (unsigned int)(equals - word.text) : word.length;
        const char* value = equals ? equals + 1 : word.text + word.length;
        unsigned int valueLength = word.length - nameLength - (equals ? 1 : 0);
        // A value quoted at both ends loses the quotes; a lone quote is both ends of
        // nothing and stays as it is.
        if (valueLength >= 2 && value[0] == '"' && value[valueLength - 1] == '"')
        {
            ++value;
            valueLength -= 2;
        }
        KV_LIST<KV_XML_ATTRIBUTE>::ITERATOR it = node.attributes.PushBack(KV_XML_ATTRIBUTE());
        SetText(it.Get()->name, word.text, nameLength);
        SetText(it.Get()->value, value, valueLength);
    }
};

} // namespace

bool KV_XML::Parse(const char* text, unsigned int length, const char* trimChars, bool trim)
{
    if (text == nullptr || length == 0)
        return false;
    std::string joined = JoinLines(text, length);
    if (joined.empty())
        return false;
    PARSER parser(*this, trimChars, trim);
    parser.Run(joined.data(), joined.size());
    return true;
}
