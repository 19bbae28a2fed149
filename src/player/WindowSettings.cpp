// Reading and writing "kesv.window": one data line of width, height and scaling.
#include "player/WindowSettings.h"

#include "graphics/Utils.h"
#include "io/FieldReader.h"
#include "io/PlayerFile.h"

#include <iostream>
#include <vector>

void WindowSettings::Load()
{
    *this = WindowSettings();
    // Checked before opening: opening a pipe waits for a writer.
    if (const std::string refused = FieldReader::Refusal(mFileName, mMaxFileSize); !refused.empty())
    {
        std::cerr << "Kestrovane: window file " << mFileName << " not used: it " << refused << std::endl;
        mWritten = Text();
        return;
    }
    FieldReader reader(mFileName);
    std::vector<std::string> fields;
    while (reader.IsOpen() && reader.NextLine(fields))
    {
        if (fields.size() >= 2)
        {
            mWidth = Utils::ConvertString<int>(fields[0], false);
            mHeight = Utils::ConvertString<int>(fields[1], false);
        }
        if (fields.size() >= 3)
        {
            Scaling::FromName(fields[2], mScaling);
        }
        if (!fields.empty())
        {
            break;
        }
    }
    mWritten = Text();
}

bool WindowSettings::SaveChanged()
{
    const std::string text = Text();
    if (text == mWritten)
    {
        return true;
    }
    if (!PlayerFile::Write(mFileName, text))
    {
        return false;
    }
    mWritten = text;
    return true;
}

std::string WindowSettings::Text() const
{
    return "// Window width and height, then the scaling: Sharp, Fit or Stretch\n" + Utils::ToString(mWidth) +
           ' ' + Utils::ToString(mHeight) + ' ' + Scaling::Name(mScaling) + '\n';
}
