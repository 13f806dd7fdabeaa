#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "ReaderFixture.h"
#include "app/ReadingSession.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "engine/base/CCArray.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCMenu.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

using MainPageEdgesTest = pagly::test::ReaderTest;

// A selected entry that no main-page entry gives (the value is a plain global anyone may
// write) opens the first unit's contents instead of reading past the page-range table.
TEST_F(MainPageEdgesTest, AnUnknownSelectedEntryOpensTheFirstUnit) {
    for (int unit : {-1, 9, 1000, INT_MAX, INT_MIN}) {
        session().selectedUnit = unit;
        TestScene* scene = createMenuTestScene();
        scene->show();
        scene->release();
        step();
        MenuLayerMainMenu* contents = runningLayer<MenuLayerMainMenu>();
        ASSERT_NE(nullptr, contents) << unit;
        EXPECT_EQ(10u, contents->listMenu()->getChildren()->count()) << unit;
        EXPECT_EQ(2, session().unitFirstPage) << unit;
        EXPECT_FLOAT_EQ(140, MenuLayerMainMenu::dragLimit()) << unit;
        advance(2.1);
        tap(320, 960 - 300);  // the third line
        EXPECT_EQ(4, session().currentPage) << unit;
    }
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Where the book folder cannot take the marker (here a folder stands in its place), the
// marker goes to the user's data folder and the book is left as it is.
TEST_F(MainPageEdgesTest, AMarkerPathThatIsAFolderSendsTheMarkerToTheDataFolder) {
    std::string data = userDataFolder();  // the fixture's stand-in for XDG_DATA_HOME
    ASSERT_EQ(0, mkdir(markerPath().c_str(), 0755));

    startOnMainPage();
    startOnMainPage();

    struct stat st;
    EXPECT_TRUE(stat(markerPath().c_str(), &st) == 0 && S_ISDIR(st.st_mode));
    std::string inData = data + "/pagly/ft.xml";
    EXPECT_EQ(std::string(TestController::kFirstRunMarkerLine) + "\n", fileText(inData));
    EXPECT_EQ(inData, TestController::firstRunMarkerPath());

    rmdir(markerPath().c_str());
    remove(inData.c_str());
}

// An installed book (a package's data under share/) takes no marker even when the folder
// would take files (the reader run as root): the package's removal would leave it behind.
TEST_F(MainPageEdgesTest, AnInstalledBookIsNeverWrittenTheMarkerGoesToTheDataFolder) {
    std::string inData = userDataFolder() + "/pagly/ft.xml";
    CCFileUtils::sharedFileUtils()->setResourceRoot(sandbox(), /*shared=*/true);

    startOnMainPage();
    startOnMainPage();

    struct stat st;
    EXPECT_NE(0, lstat(markerPath().c_str(), &st)) << "written into the installed book";
    EXPECT_EQ(std::string(TestController::kFirstRunMarkerLine) + "\n", fileText(inData));
    EXPECT_EQ(inData, TestController::firstRunMarkerPath());

    CCFileUtils::sharedFileUtils()->setResourceRoot(sandbox());
    remove(inData.c_str());
}

// A pipe where a marker would go must not stall the start: opening one for writing (or
// reading) waits for the other end, which never comes. The marker goes where it can or is
// not written at all.
TEST_F(MainPageEdgesTest, APipeInTheMarkersPlaceDoesNotStallTheStart) {
    std::string data = userDataFolder();  // the fixture's stand-in for XDG_DATA_HOME
    std::string inData = data + "/pagly/ft.xml";
    mkdir((data + "/pagly").c_str(), 0755);
    ASSERT_EQ(0, mkfifo(markerPath().c_str(), 0644));

    startOnMainPage();
    EXPECT_NE(nullptr, runningLayer<TestController>());
    EXPECT_EQ(std::string(TestController::kFirstRunMarkerLine) + "\n", fileText(inData))
        << "beside the book stands a pipe: the marker goes to the data folder";

    remove(inData.c_str());
    ASSERT_EQ(0, mkfifo(inData.c_str(), 0644));
    startOnMainPage();
    EXPECT_NE(nullptr, runningLayer<TestController>());
    struct stat st;
    EXPECT_TRUE(stat(inData.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) << "left as it is";

    remove(markerPath().c_str());
    remove(inData.c_str());
}

}  // namespace
