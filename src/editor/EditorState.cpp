// The level editor's set-up, its clock (autosave), saving, restoring an autosave and test-play.
#include "editor/EditorState.h"

#include "Game.h"
#include "StateManager.h"
#include "audio/AudioManager.h"
#include "editor/EditTools.h"
#include "editor/LevelCheck.h"
#include "editor/LevelLink.h"
#include "editor/ScratchLevel.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "io/Translation.h"
#include "platform/Platform.h"
#include "states/PlayState.h"
#include "world/EntityType.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace
{
std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/') + 1);
}

std::string ReadAll(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

std::unique_ptr<Image> LoadSheet(const std::string& name, SDL_RendererInfo info)
{
    auto image = std::make_unique<Image>();
    image->Load("data/gfx/" + name + ".png", info, true, Image::mKeyRed, Image::mKeyGreen, Image::mKeyBlue);
    return image;
}
} // namespace

EditorState::EditorState() = default;

EditorState::~EditorState()
{
    CleanUp();
}

std::string EditorState::AutosavePath(const std::string& file)
{
    return std::filesystem::path(file).replace_extension(".autosave").string();
}

namespace
{
const std::string kAutosaveExtension = ".autosave";

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A level too large for a link's text is autosaved in the level's own files: the autosave is then a level
// description naming these beside it.
LevelDocument AutosaveAsLevel(const LevelDocument& level, const std::string& autosave)
{
    LevelDocument copy = level;
    const std::string stem = std::filesystem::path(autosave).filename().string();
    copy.mBackgroundName = stem + "_bg.png";
    copy.mCollisionName = stem + "_col.png";
    copy.mEntitiesName = stem + ".ent";
    return copy;
}

// The autosave as it was written: a link's text, or a level's files.
LevelDocument ReadAutosave(const std::string& autosave)
{
    const std::string text = ReadAll(autosave);
    if (text.compare(0, 16, "kestrovane-level") == 0)
    {
        return LevelLink::FromText(text);
    }
    LevelDocument level;
    level.Load(autosave);
    return level;
}

bool SameLevel(const LevelDocument& a, const LevelDocument& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height() && a.Layer(0) == b.Layer(0) &&
           a.Layer(1) == b.Layer(1) && a.mEntities == b.mEntities && a.mDescription == b.mDescription;
}
} // namespace

bool EditorState::Init(Game* game)
{
    CleanUp();
    mGame = game;
    mCatalogue.Load("data/maps/");
    const SDL_RendererInfo info = game->mFramework->GetRendererInfo();
    mTiles = LoadSheet("tiles", info);
    mSprites = LoadSheet("sprites", info);
    mArrow = LoadSheet("arrow", info);
    SDL_Surface* screen = game->mScreen->mSurface;
    mDimmed = SDL_CreateRGBSurfaceWithFormat(0, mViewWidth, mViewHeight, screen->format->BitsPerPixel,
                                             screen->format->format);
    mZoomView = SDL_CreateRGBSurfaceWithFormat(0, mViewWidth, mViewHeight, screen->format->BitsPerPixel,
                                               screen->format->format);
    if (mDimmed == nullptr || mZoomView == nullptr)
    {
        throw std::runtime_error(std::string("Unable to create surface: ") + SDL_GetError());
    }
    SDL_SetColorKey(mDimmed, SDL_TRUE, 0);
    SDL_SetSurfaceAlphaMod(mDimmed, 88);

    mLevel = LevelDocument(40, 15);
    if (mGiven)
    {
        mLevel = *mGiven;
        // TRANSLATORS: the editor's status line holds 40 characters; a file name may follow.
        mStatus = Tr("Opened a link's level");
    }
    else if (std::filesystem::exists(mFile))
    {
        mLevel.Load(mFile);
        // TRANSLATORS: %1 is a file name.
        mStatus = Translation::Format(Tr("Opened %1"), {mFile});
    }
    else
    {
        // A new level starts walled in, with solid ground to stand on.
        for (int x = 0; x < mLevel.Width(); ++x)
        {
            mLevel.SetCell(LevelDocument::Foreground, x, mLevel.Height() - 1, 0x404858);
        }
        // TRANSLATORS: %1 is a file name.
        mStatus = Translation::Format(Tr("New level %1"), {mFile});
    }
    mHistory = EditHistory();
    mPublishedChanges.reset();
    mPublished.clear();
    mPublishedRefusal.clear();
    if (mGiven || !std::filesystem::exists(mFile))
    {
        // Nothing is on disk yet: the level as it stands is already a change to keep.
        mHistory.MarkUnsaved();
    }
    mColor = mCatalogue.Tiles().size() > 1 ? mCatalogue.Tiles()[1].mColor : 0;
    mEntityType = mCatalogue.Entities().empty() ? "" : mCatalogue.Entities().front().mName;
    mScratch = std::make_unique<ScratchLevel>();
    mMenu.Close();
    mPicker.Close();
    mChooser = false;
    mTypingFor = NotTyping;
    mAskedPage = false;
    mPaletteTop = 0;
    mZoom = 1;
    Scroll(0, 0); // the view stays within a level smaller than the last
    OfferRestore();
    SDL_ShowCursor(SDL_ENABLE);
    Platform::EditorShown(true);
    return true;
}

void EditorState::CleanUp()
{
    mTiles.reset();
    mSprites.reset();
    mArrow.reset();
    if (mDimmed != nullptr)
    {
        SDL_FreeSurface(mDimmed);
        mDimmed = nullptr;
    }
    if (mZoomView != nullptr)
    {
        SDL_FreeSurface(mZoomView);
        mZoomView = nullptr;
    }
    mScratch.reset();
    mAutosaveTimer = 0;
    mAutosaveKeptAt.reset();
    mLeaveUnkept = false;
    mTesting = false;
}

void EditorState::OfferRestore()
{
    const std::string autosave = AutosavePath(mFile);
    std::error_code error;
    if (!std::filesystem::exists(autosave, error))
    {
        return;
    }
    // Not older: file times are coarse, so one written just after a save may carry the same time. An
    // autosave holding what the file holds offers nothing.
    const bool notOlder =
        !std::filesystem::exists(mFile, error) ||
        std::filesystem::last_write_time(autosave, error) >= std::filesystem::last_write_time(mFile, error);
    if (!notOlder)
    {
        return;
    }
    try
    {
        if (SameLevel(ReadAutosave(autosave), mLevel))
        {
            return;
        }
    }
    catch (const std::exception&)
    {
        // Offered all the same: "Yes" says why it cannot be read, and the file stays until the next change.
    }
    mRestoreOffered = true;
    // Kept while the offer stands, and after "No" until the next change replaces it.
    mAutosaveKeptAt = mHistory.Changes();
    // TRANSLATORS: the keys Y and N answer it, whatever the language.
    mStatus = Tr("A newer autosave exists: restore it? Y/N");
}

void EditorState::Restore()
{
    mRestoreOffered = false;
    try
    {
        const LevelDocument saved = ReadAutosave(AutosavePath(mFile));
        // One undoable step, so the file's own version is one undo away.
        mHistory.Do(mLevel, EditTools::Replace(mLevel, saved));
        mStatus = Tr("Autosave restored (undo returns to the file)");
    }
    catch (const std::exception& error)
    {
        mStatus = std::string(Tr("Autosave unreadable: ")) + error.what();
    }
}

bool EditorState::Autosave()
{
    mAutosaveTimer = 0;
    const std::string autosave = AutosavePath(mFile);
    if (mAutosaveKeptAt == mHistory.Changes())
    {
        return true; // a restore offered, or declined with nothing changed since
    }
    mAutosaveKeptAt.reset();
    const LevelDocument asLevel = AutosaveAsLevel(mLevel, autosave);
    if (!mHistory.IsChanged())
    {
        for (const std::string& file :
             {autosave, asLevel.mBackgroundName, asLevel.mCollisionName, asLevel.mEntitiesName})
        {
            PlayerFile::Remove(file == autosave ? file : FolderOf(autosave) + file);
        }
        return true;
    }
    // Never thrown on: the timer and leaving call it in the middle of editing.
    try
    {
        if (LevelLink::Fits(mLevel))
        {
            LevelDocument::WriteText(autosave, LevelLink::Text(mLevel));
        }
        else
        {
            LevelDocument(asLevel).Save(autosave);
        }
    }
    catch (const std::exception& error)
    {
        mStatus = std::string(Tr("Autosave failed: ")) + error.what();
        return false;
    }
    return true;
}

bool EditorState::PassesChecks(const LevelDocument& level, const std::string& refusal)
{
    const std::vector<LevelCheck::Problem> problems = LevelCheck::Run(level, mCatalogue);
    if (problems.empty())
    {
        return true;
    }
    mStatus = refusal + problems.front().mText;
    // The cursor goes to the cell at fault, so the status line says what is there; the actions' cursor is
    // brought into sight.
    if (problems.front().mX >= 0 && level.Inside(problems.front().mX, problems.front().mY))
    {
        mCursorX = problems.front().mX;
        mCursorY = problems.front().mY;
        mOnPalette = false;
        if (mActionCursor)
        {
            ShowCursorCell();
        }
    }
    return false;
}

bool EditorState::Save()
{
    // Saving over the autosave's name would remove what was just written, when the autosave is cleared.
    if (EndsWith(mFile, kAutosaveExtension))
    {
        mStatus = Tr("Not saved: a level file cannot end in .autosave, the editor's own");
        return false;
    }
    if (!PassesChecks(mLevel, Tr("Not saved: ")))
    {
        return false;
    }
    try
    {
        mLevel.Save(mFile);
    }
    catch (const std::exception& error)
    {
        mStatus = std::string(Tr("Not saved: ")) + error.what();
        return false;
    }
    mHistory.MarkSaved();
    Autosave(); // removes the autosave: the file holds it all
    // TRANSLATORS: %1 is a file name.
    mStatus = Translation::Format(Tr("Saved %1"), {mFile});
    return true;
}

void EditorState::TestPlay(Game* game, bool fromCursor)
{
    LevelDocument tried = mLevel;
    if (fromCursor)
    {
        EditTools::Place(tried, mCatalogue, "Player", mFacing, mCursorX, mCursorY).Apply(tried);
    }
    if (!PassesChecks(tried, Tr("Cannot play: ")))
    {
        return;
    }
    std::string path;
    try
    {
        path = mScratch->Write(tried);
    }
    catch (const std::exception& error)
    {
        mStatus = std::string(Tr("Cannot play: ")) + error.what();
        return;
    }
    mTesting = true;
    Platform::EditorShown(false);
    mButton = 0;
    mStroke = 0;
    mAcceptStroke = false;
    SDL_ShowCursor(SDL_DISABLE);
    game->mPlayState->PlayOnly(path, {});
    game->mPlayState->ReturnTo("Editor");
    game->mStateManager->ChangeState("Play");
    bool started = false;
    try
    {
        started = game->mPlayState->Init(game);
    }
    catch (const std::exception& error)
    {
        mStatus = std::string(Tr("Cannot play: ")) + error.what();
    }
    if (!started)
    {
        game->mStateManager->ChangeState("Editor");
        BackFromPlay(game);
    }
}

void EditorState::BackFromPlay(Game* game)
{
    mTesting = false;
    SDL_ShowCursor(SDL_ENABLE);
    Platform::EditorShown(true);
    game->mAudioManager->PlayMusic("menu.ogg", true);
    if (mStatus.rfind(Tr("Cannot play: "), 0) != 0)
    {
        // Fingers and controllers reach the race through the tool menu.
        const bool keys = !mTouchLast && !mActionCursor;
        mStatus = !game->mPlayState->HasFinishedRun() ? Tr("Back from test-play")
                  : keys                              ? Tr("Back: Shift+L sends this run as a race")
                                                      : Tr("Back: Tools can send this run as a race");
    }
}

void EditorState::SendRace(Game* game)
{
    // The run of the last test-play that reached the exit, on the level as it was tried.
    try
    {
        mStatus =
            std::string(Tr("Race link: ")) + Platform::ShareRaceLink(game->mPlayState->MakeRaceLink(game));
    }
    catch (const std::exception& error)
    {
        mStatus = std::string(Tr("No race link: ")) + error.what();
    }
}

void EditorState::PublishLink()
{
    mPublishedChanges = mHistory.Changes();
    std::string why;
    if (!LevelLink::Fits(mLevel, &why))
    {
        // The page's "Copy link" tells why, as L does.
        if (why != mPublishedRefusal)
        {
            mPublished.clear();
            mPublishedRefusal = why;
            Platform::LevelLinkRefused(why);
        }
        return;
    }
    std::string link = LevelLink::Pack(mLevel);
    if (link != mPublished)
    {
        mPublished = std::move(link);
        mPublishedRefusal.clear();
        Platform::LevelLinkChanged(mPublished);
    }
}

void EditorState::Tick(Game* game)
{
    mBlink = (mBlink + 1) % mBlinkUpdates;
    if (mTesting)
    {
        BackFromPlay(game);
    }
    // At once, so that a link copied just after an edit holds it.
    if (mPublishedChanges != mHistory.Changes())
    {
        PublishLink();
    }
    if (++mAutosaveTimer >= mAutosaveUpdates)
    {
        Autosave();
    }
}

void EditorState::Leave(Game* game)
{
    // Unsaved work is never left behind silently: when its autosave fails, the editor stays, says why, and
    // only a second try leaves without it.
    if (Autosave())
    {
        mLeaveUnkept = false;
    }
    else if (!mLeaveUnkept)
    {
        mLeaveUnkept = true;
        mStatus += "; not left: save, or leave again to lose the changes";
        return;
    }
    mMenu.Close();
    SDL_ShowCursor(SDL_DISABLE);
    Platform::EditorShown(false);
    game->mStateManager->ChangeState("Credits");
}
