// The running-instance object: one holder per name, gone with its holder,
// and no file left behind.
#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace {

std::string uniqueName() { return "varomel-test/" + std::to_string(getpid()) + "/" + std::to_string(rand()); }

bool listedInProcNetUnix(const std::string& name) {
    std::ifstream f("/proc/net/unix");
    std::string line;
    while (std::getline(f, line))
        if (line.find("@" + name) != std::string::npos) return true;
    return false;
}

TEST(InstanceObject, SecondHolderSeesTheFirstAndTheNameFreesWithIt) {
    std::string name = uniqueName();
    {
        app::InstanceObject first(name);
        EXPECT_FALSE(first.existedBefore());
        EXPECT_TRUE(first.held());
        EXPECT_TRUE(listedInProcNetUnix(name));  // abstract: a name, not a file

        app::InstanceObject second(name);
        EXPECT_TRUE(second.existedBefore());
        EXPECT_FALSE(second.held());
    }
    app::InstanceObject again(name);
    EXPECT_FALSE(again.existedBefore());
}

TEST(InstanceObject, VanishesWhenTheHolderDiesWithoutCleanUp) {
    std::string name = uniqueName();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        app::InstanceObject held(name);
        char c = held.held() ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    EXPECT_TRUE(app::InstanceObject(name).existedBefore());
    kill(child, SIGKILL);  // as a crash would end it
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(app::InstanceObject(name).existedBefore());
    close(ready[0]);
    close(ready[1]);
}

TEST(InstanceObject, NameIsScopedToUserAndDisplay) {
    EXPECT_NE(app::instanceObjectName("5fwe5wre", ":1"), app::instanceObjectName("5fwe5wre", ":2"));
    EXPECT_EQ(app::instanceObjectName("5fwe5wre", ":1").rfind("5fwe5wre", 0), 0u);
}

}  // namespace
