#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/BookImport.h"
#include "engine/nodes/CCLayer.h"

namespace pagly::engine {
class CCLabelTTF;
class CCLayerColor;
}  // namespace pagly::engine

namespace pagly {

// The screen shown while a book from elsewhere is converted on its first open: the book's
// name, a bar and "page 7 of 30" as the importer finishes pages, and how many things in the
// book it could not use. When the book is ready it hands the converted folder on; when the
// book cannot be opened it says why, and a click or a key closes the reader.
class ImportScreen : public engine::CCLayer {
  public:
    using ReadyHandler = std::function<void(const std::string& folder)>;

    // `run` has been started on the book `bookName` into `folder`.
    ImportScreen(std::unique_ptr<ImportRun> run, const std::string& bookName,
                 const std::string& folder, ReadyHandler onReady);
    // A book that could not even be handed to the importer: the screen only says why.
    static ImportScreen* failed(const std::string& bookName, const std::string& reason);

    void update(float dt) override;
    bool ccTouchBegan(engine::CCTouch* touch, engine::CCEvent* event) override;
    void keyPressed(int keyCode) override;

    // What the screen shows, for tests.
    std::string progressText() const;
    std::string headingText() const;
    float barFraction() const { return m_fraction; }
    bool hasFailed() const { return m_failed; }

  private:
    ImportScreen(const std::string& bookName);
    void showProgress();
    void showFailure(const std::string& reason);

    std::unique_ptr<ImportRun> m_run;
    std::string m_folder;
    ReadyHandler m_onReady;
    bool m_failed = false;
    float m_fraction = 0;
    engine::CCLabelTTF* m_heading = nullptr;  // children of this layer
    engine::CCLabelTTF* m_detail = nullptr;
    engine::CCLabelTTF* m_progress = nullptr;
    engine::CCLabelTTF* m_note = nullptr;
    engine::CCLayerColor* m_barBack = nullptr;
    engine::CCLayerColor* m_barFill = nullptr;
};

}  // namespace pagly
